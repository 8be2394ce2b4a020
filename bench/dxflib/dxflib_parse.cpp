// The peer for the DXF reader benchmark: dxflib parses a file and reports
// what it saw, nothing more (no drawing is built).
#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include <cstdio>

namespace {

class Counter : public DL_CreationAdapter {
public:
    void addLayer(const DL_LayerData&) override { ++layers; }
    void addLinetype(const DL_LinetypeData&) override { ++linetypes; }
    void addPoint(const DL_PointData&) override { ++entities; }
    void addLine(const DL_LineData&) override { ++entities; }
    void addArc(const DL_ArcData&) override { ++entities; }
    void addCircle(const DL_CircleData&) override { ++entities; }
    void addSolid(const DL_SolidData&) override { ++entities; }
    void addTrace(const DL_TraceData&) override { ++entities; }
    void add3dFace(const DL_3dFaceData&) override { ++entities; }
    void addEllipse(const DL_EllipseData&) override { ++entities; }
    void addPolyline(const DL_PolylineData&) override { ++entities; }
    void addVertex(const DL_VertexData&) override { ++vertices; }
    void addSpline(const DL_SplineData&) override { ++entities; }
    void addInsert(const DL_InsertData&) override { ++entities; }
    void addMText(const DL_MTextData&) override { ++entities; }
    void addText(const DL_TextData&) override { ++entities; }
    void addAttribute(const DL_AttributeData&) override { ++entities; }
    void addHatch(const DL_HatchData&) override { ++entities; }
    void addHatchEdge(const DL_HatchEdgeData&) override { ++vertices; }
    void addBlock(const DL_BlockData&) override { ++blocks; }

    long layers = 0;
    long linetypes = 0;
    long entities = 0;
    long vertices = 0;  // polyline vertices and hatch boundary edges
    long blocks = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dxflib_parse FILE.dxf\n");
        return 2;
    }
    Counter counter;
    DL_Dxf dxf;
    if (!dxf.in(argv[1], &counter)) {
        std::fprintf(stderr, "dxflib could not open %s\n", argv[1]);
        return 1;
    }
    std::printf("dxflib: %ld layers, %ld linetypes, %ld blocks, %ld entities, %ld vertices and edges\n",
                counter.layers, counter.linetypes, counter.blocks, counter.entities, counter.vertices);
    return 0;
}
