// What every file of the C interface shares: handle and record conversion,
// and the one guard that keeps exceptions from crossing the boundary and
// turns an engine status into the exports' results.
#pragma once

#include <korvex/kxtypes.h>

#include <exception>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <kxplatform/debugapi.h>

#include "geom/CFltPoint.h"
#include "CKXBuilder.h"
#include "KXStatus.h"

class CKXDoc;

namespace kxexport {

inline CKXDoc* DocOf(KXDOC doc) {
    return static_cast<CKXDoc*>(doc);
}

inline CFltPoint PointOf(const double p[2]) {
    return {p[0], p[1]};
}

inline std::vector<CFltPoint> PointsOf(const KXPoint* points, int count) {
    std::vector<CFltPoint> out(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = {points[i].x, points[i].y};
    return out;
}

// The restore flag is the record's fourth field for every construction call.
inline const KXEntAttribs* EntAttribsOf(const tagKXEntAttrib* in, KXEntAttribs& out) {
    if (!in) return nullptr;
    out.color = in->color;
    out.lineStyle = in->lineStyle;
    out.weight = in->lineWeight;
    out.restore = in->restore != 0;
    return &out;
}

// A failure's reason goes to the debug output, once, here at the boundary.
inline void ReportFailure(const char* what) {
    std::string line = "kxcore: ";
    line += what ? what : "unknown failure";
    line += '\n';
    OutputDebugStringA(line.c_str());
}

// Runs call; an exception becomes `failure` (a failed allocation included).
// Calls without a result simply end.
template <class F, class R = std::invoke_result_t<F&>>
R Guarded(F&& call, R failure = R{}) noexcept {
    try {
        return call();
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        ReportFailure(nullptr);
    }
    return failure;
}

template <class F, std::enable_if_t<std::is_void_v<std::invoke_result_t<F&>>, int> = 0>
void Guarded(F&& call) noexcept {
    try {
        call();
    } catch (const std::exception& e) {
        ReportFailure(e.what());
    } catch (...) {
        ReportFailure(nullptr);
    }
}

// An engine status as an export's result: 1 on success, `failure` otherwise.
inline int ResultOf(const KXStatus& status, int failure = 0) {
    if (status) return 1;
    ReportFailure(status.Reason().c_str());
    return failure;
}

}  // namespace kxexport
