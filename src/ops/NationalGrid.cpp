#include "ops/NationalGrid.h"

#include <proj.h>

#include <cmath>
#include <string>

namespace qm {

std::optional<Wgs84Position> gridToWgs84(int epsg, double x, double y) {
    // A context of its own for each call: the batch tool opens files on
    // several threads, and a context may serve one thread only.
    PJ_CONTEXT* ctx = proj_context_create();
    if (!ctx) return std::nullopt;
    proj_log_level(ctx, PJ_LOG_NONE);
    std::optional<Wgs84Position> result;
    const std::string grid = "EPSG:" + std::to_string(epsg);
    if (PJ* raw = proj_create_crs_to_crs(ctx, grid.c_str(), "EPSG:4326", nullptr)) {
        // Easting before northing in, longitude before latitude out.
        if (PJ* p = proj_normalize_for_visualization(ctx, raw)) {
            const PJ_COORD out = proj_trans(p, PJ_FWD, proj_coord(x, y, 0, 0));
            if (std::isfinite(out.lp.lam) && std::isfinite(out.lp.phi) && std::fabs(out.lp.phi) <= 90.0 &&
                std::fabs(out.lp.lam) <= 180.0)
                result = Wgs84Position{out.lp.phi, out.lp.lam};
            proj_destroy(p);
        }
        proj_destroy(raw);
    }
    proj_context_destroy(ctx);
    return result;
}

}  // namespace qm
