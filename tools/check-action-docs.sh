#!/usr/bin/env bash
# Checks that the batch tool's manual page, bash completion and user
# documentation keep up with its actions, as "quillmere-cli --help" lists them:
#   - every action has its entry in the manual page;
#   - every action is named in README.md or docs/*.md of this checkout;
#   - after an input file the completion offers every action;
#   - an argument with fixed values (--digits 2|3) completes to exactly those.
#
#   bash tools/check-action-docs.sh CLI MANPAGE COMPLETION
set -euo pipefail
cli=$1 manpage=$2 completion=$3
failures=0
fail() { echo "check-action-docs: $*" >&2; failures=$((failures + 1)); }

# The usage column of the help, brackets dropped.
usages=$("$cli" --help | sed -n 's/^  \(--[^ ].*\)$/\1/p' | sed -e 's/  .*//' -e 's/[][]//g')
[ -n "$usages" ] || { echo "check-action-docs: no actions in $cli --help" >&2; exit 1; }

# shellcheck source=/dev/null
source "$completion"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _quillmere_cli "$cli"
  printf '%s\n' "${COMPREPLY[@]}" | sort
}

# The documentation moves between README.md and docs/; any of them will do.
checkout=$(cd "$(dirname "$0")/.." && pwd)
docs=("$checkout/README.md" "$checkout"/docs/*.md)

offered=$(complete_words quillmere-cli input.cpt "--")
while read -r action rest; do
  # roff writes each "-" of an option as "\-".
  grep -qF -- "${action//-/\\-}" "$manpage" || fail "$action is missing from $manpage"
  # The whole option: --page is not documented by --page-size.
  grep -qE -- "${action}([^a-z-]|\$)" "${docs[@]}" || fail "$action is named in neither README.md nor docs/*.md"
  [ "$action" = "--tables" ] && continue
  grep -qx -- "$action" <<<"$offered" || fail "the completion does not offer $action"
done <<<"$usages"

# Every "--option a|b|c" of any usage.
while read -r option values; do
  want=$(tr '|' '\n' <<<"$values" | sort)
  got=$(complete_words quillmere-cli input.cpt "$option" "")
  [ "$got" = "$want" ] || fail "after $option the completion offers [$(echo $got)], not [$(echo $want)]"
done < <(tr ' ' '\n' <<<"$usages" | awk '/^--/ { opt = $0; next } /\|/ { print opt, $0 }' | sort -u)

[ "$failures" -eq 0 ] || exit 1
echo "check-action-docs: $(wc -l <<<"$usages") actions documented and completed"
