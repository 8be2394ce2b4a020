// Construction of primitives into a document: validates the geometry,
// projects it through the current 3D coordinate system when asked, builds
// the entity and appends it to the current container with its attributes.
// Every operation returns 1 when an entity was added and 0 when the input
// was rejected; a rejected call changes nothing.
#pragma once

#include <vector>

#include "geom/CFltPoint.h"
#include "CKXAttribute.h"
#include "IKXEnt.h"

class CKXDoc;
class CTransf3D;

// The optional attributes of one construction call.
struct KXEntAttribs {
    int color = 0;
    int lineStyle = 0;
    int weight = 0;
    // Set the attributes current before the call again after it.
    bool restore = false;
};

class CKXBuilder {
public:
    // Points of the arc sampling used for projected circles and arcs.
    static constexpr int kArcSamples = 200;

    explicit CKXBuilder(CKXDoc& doc) : m_doc(doc) {}

    int AddLine(const CFltPoint& start, const CFltPoint& end, const KXEntAttribs* attr, const double* z);
    int AddPolyline(const CFltPoint* points, int count, const KXEntAttribs* attr, const double* z);
    int AddCircle(const CFltPoint& centre, double radius, const KXEntAttribs* attr, const double* z);
    int AddArc(const CFltPoint& centre, double radius, double start, double end, const KXEntAttribs* attr,
               const double* z);
    int AddEllipse(const CFltPoint& centre, const CFltPoint& axis, double ratio, const KXEntAttribs* attr,
                   const double* z);
    int AddEllipticArc(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start, double end,
                       const KXEntAttribs* attr, const double* z);
    // The control points are projected in place when projection applies.
    int AddSpline(int degree, CFltPoint* controls, int count, const double* knots, int knotCount,
                  const double* weights, int flags, const KXEntAttribs* attr, const double* z);

    // Hands a requested attribute record to the current container.
    int SetAttrib(const CKXAttribute& requested);
    int GetAttrib(CKXAttribute& out) const;

    // 200 points from start to end (counter-clockwise; 0 to 0 is a full turn
    // whose last point repeats the first).
    static std::vector<CFltPoint> SampleArc(const CFltPoint& centre, double radius, double start, double end);

private:
    // The projection of this call, or null; fails for a non-finite elevation
    // or an invalid system.
    bool Projection(const double* z, const CTransf3D*& projection) const;
    // Applies the attributes, appends the entity with extents growth and
    // restores the attributes when asked.
    int Append(KXEntPtr ent, const KXEntAttribs* attr);
    int AddEllipseCurve(const CFltPoint& centre, const CFltPoint& axis, double ratio, double start, double end,
                        const KXEntAttribs* attr, const double* z, bool full);
    int AddCurvePolyline(std::vector<CFltPoint> points, const CTransf3D& projection, double z,
                         const KXEntAttribs* attr);

    CKXDoc& m_doc;
};
