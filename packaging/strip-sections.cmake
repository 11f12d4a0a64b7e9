# Run by "cmake --install" after the programs are installed: a stripped
# install also drops the sections that only name the compiler and linker
# (.comment) and the unnamed notes (.note), as Debian's packages do.
# QUILLMERE_OBJCOPY is set by the install code before this script.
if(NOT CMAKE_INSTALL_DO_STRIP)
  return()
endif()
if(NOT QUILLMERE_OBJCOPY)
  message(FATAL_ERROR "objcopy was not found; a stripped install needs it")
endif()
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(GLOB binaries "${root}/bin/quillmere*" "${root}/lib/quillmere/*.so" "${root}/lib/*/quillmere/*.so")
foreach(binary IN LISTS binaries)
  execute_process(COMMAND "${QUILLMERE_OBJCOPY}" --remove-section=.comment --remove-section=.note "${binary}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy could not drop the .comment section of ${binary}")
  endif()
endforeach()
