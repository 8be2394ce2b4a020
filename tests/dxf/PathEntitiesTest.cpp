// POLYLINE, LWPOLYLINE, MLINE and SPLINE read against the recording engine:
// segments and arcs from bulges, widths, meshes, multiline styles, and the
// malformed entities that are left out while the rest is read.
#include "DxfTestSupport.h"
#include "utlEntityKeys.h"

#include <cmath>
#include <cstring>

namespace kxdxf::test {
namespace {

using Lines = std::vector<std::string>;

Lines lineEntity()
{
    return {"0", "LINE", "10", "7", "20", "7", "11", "8", "21", "8"};
}

const std::string kLastLine = "AddLine 7,7 8,8 z=none";

Lines lwpolyline(const Lines& body)
{
    return concat({{"0", "LWPOLYLINE", "8", "0"}, body});
}

class PathEntitiesTest : public TranslatorTest {
protected:
    int read(const Lines& entities, const Lines& objects = {})
    {
        Lines parts = concat({headerSection("AC1015"), section("ENTITIES", entities)});
        if (!objects.empty())
            parts = concat({parts, section("OBJECTS", objects)});
        return readText(joinLines(concat({parts, eofLines()})));
    }
    Lines geometry() const { return recorder().geometry(); }
};

TEST(IndexedKey, NamesTheOccurrenceOfAGroup)
{
    EXPECT_EQ("10.0", utlIndexedKey("10", 0).view());
    EXPECT_EQ("42.123456", utlIndexedKey("42", 123456).view());
    EXPECT_EQ("40.-1", utlIndexedKey("40", -1).view());
}

TEST_F(PathEntitiesTest, HalfCircleBulgesSwapStartAndEndWithTheirSign)
{
    ASSERT_EQ(1, read(concat({lwpolyline({"90", "2", "10", "0", "20", "0", "42", "1", "10", "2", "20", "0"}),
                              lwpolyline({"90", "2", "10", "0", "20", "0", "42", "-1", "10", "2", "20", "0"})})));
    const Lines expected{"AddArc 1,0 r=1 a=3.1415926535897931,0 z=0", "AddArc 1,0 r=1 a=0,3.1415926535897931 z=0"};
    EXPECT_EQ(expected, geometry());
}

TEST_F(PathEntitiesTest, QuarterBulgeCentreAndCoincidentVertices)
{
    // tan(pi/8): a quarter circle from (1,0) to (0,1) about the origin.
    ASSERT_EQ(1, read(lwpolyline({"90", "3", "10", "1", "20", "0", "42", "0.41421356237309503", "10", "0", "20",
                                  "1", "42", "1", "10", "0", "20", "1"})));
    const Lines got = geometry();
    ASSERT_EQ(1u, got.size());  // the bulge between coincident vertices draws nothing
    double cx = 0, cy = 0, r = 0, a0 = 0, a1 = 0;
    ASSERT_EQ(5, std::sscanf(got[0].c_str(), "AddArc %lf,%lf r=%lf a=%lf,%lf", &cx, &cy, &r, &a0, &a1));
    EXPECT_NEAR(0.0, cx, 1e-12);
    EXPECT_NEAR(0.0, cy, 1e-12);
    EXPECT_NEAR(1.0, r, 1e-12);
    // The start seen a hair below the centre's x axis is 2 pi.
    EXPECT_NEAR(0.0, std::min(a0, 6.283185307179586 - a0), 1e-12);
    EXPECT_NEAR(1.5707963267948966, a1, 1e-12);
}

TEST_F(PathEntitiesTest, ClosedLwpolylineDrawsOneSegmentPerVertex)
{
    ASSERT_EQ(1, read(lwpolyline({"90", "3", "70", "1", "38", "2", "10", "0", "20", "0", "10", "1", "20", "0",
                                  "10", "1", "20", "1"})));
    const Lines expected{"AddLine 0,0 1,0 z=2", "AddLine 1,0 1,1 z=2", "AddLine 1,1 0,0 z=2"};
    EXPECT_EQ(expected, geometry());
}

TEST_F(PathEntitiesTest, VertexCountThatDisagreesWithTheVertices)
{
    const Lines four{"10", "0", "20", "0", "10", "1", "20", "0", "10", "2", "20", "0", "10", "3", "20", "0"};
    // Fewer declared: one vertex more than declared is taken. More declared
    // (even beyond the int range): what was read. Negative: nothing.
    ASSERT_EQ(1, read(concat({lwpolyline(concat({{"90", "1"}, four})),
                              lwpolyline(concat({{"90", "2147483648"}, four})),
                              lwpolyline(concat({{"90", "-2147483648"}, four})), lineEntity()})));
    EXPECT_EQ(1 + 3 + 0 + 1, recorder().count("AddLine"));
    EXPECT_EQ(kLastLine, geometry().back());
}

TEST_F(PathEntitiesTest, LwpolylineWithoutCountOrPointsIsLeftOut)
{
    ASSERT_EQ(1, read(concat({lwpolyline({"10", "0", "20", "0", "10", "1", "20", "1"}), lwpolyline({"90", "0"}),
                              lineEntity()})));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("rdDrEntLWPOLYLINE:\tNo value for Group Code <90.0>\n"));
    EXPECT_NE(std::string::npos,
              err.find("rdDrEntLWPOLYLINE:\tNo value for Group Code <10> number of points read\n"));
}

TEST_F(PathEntitiesTest, BulgesThatDescribeNoArcAreDrawnStraight)
{
    ASSERT_EQ(1, read(lwpolyline({"90", "5", "10", "0", "20", "0", "42", "nan", "10", "1", "20", "0", "42", "inf",
                                  "10", "2", "20", "0", "42", "-inf", "10", "3", "20", "0", "42", "1e308", "10",
                                  "4", "20", "0"})));
    const Lines got = geometry();
    ASSERT_EQ(4u, got.size());
    EXPECT_EQ("AddLine 0,0 1,0 z=0", got[0]);
    EXPECT_EQ("AddLine 1,0 2,0 z=0", got[1]);
    EXPECT_EQ("AddLine 2,0 3,0 z=0", got[2]);
    EXPECT_EQ(0u, got[3].rfind("AddArc ", 0));
    EXPECT_EQ(std::string::npos, got[3].find("nan"));
    EXPECT_EQ(std::string::npos, got[3].find("inf"));
    EXPECT_NE(std::string::npos, errorLog().find("describes no arc"));
}

TEST_F(PathEntitiesTest, WidthsAreSetForTheirSegmentOnly)
{
    ASSERT_EQ(1, read(lwpolyline({"90", "3", "10", "0", "20", "0", "40", "2", "41", "4", "10", "1", "20", "0",
                                  "10", "2", "20", "0"})));
    const std::vector<tagKXAttrib>& sets = recorder().attribSets;
    ASSERT_EQ(3u, sets.size());  // entity, widened segment, entity again
    float width = 0;
    std::memcpy(&width, &sets[1].lineWeight, sizeof width);
    EXPECT_EQ(3.0f, width);
    EXPECT_EQ(KXATTRIB_FLOAT_WEIGHT, sets[1].flags);
    EXPECT_EQ(KX_BYLAYER, sets[2].lineWeight);
    const Lines calls = recorder().calls;
    const auto secondLine = std::find(calls.begin(), calls.end(), "AddLine 1,0 2,0 z=0");
    ASSERT_NE(calls.end(), secondLine);
    EXPECT_EQ(0u, (secondLine - 1)->rfind("AttribSet", 0));
}

Lines polylineHeader(const std::string& flags)
{
    return {"0", "POLYLINE", "8", "0", "66", "1", "10", "0", "20", "0", "30", "3", "70", flags};
}

Lines vertex(const std::string& x, const std::string& y, const Lines& more = {})
{
    return concat({{"0", "VERTEX", "8", "0", "10", x, "20", y}, more});
}

const Lines kSeqend{"0", "SEQEND", "8", "0"};

TEST_F(PathEntitiesTest, Polyline3DHasNoPlaneAndNoElevation)
{
    ASSERT_EQ(1, read(concat({polylineHeader("8"), {"210", "0", "220", "0", "230", "-1"}, vertex("0", "0"),
                              vertex("1", "1"), kSeqend})));
    EXPECT_EQ(Lines{"AddLine 0,0 1,1 z=none"}, geometry());
}

TEST_F(PathEntitiesTest, ClosedPolylineInItsPlaneWithElevation)
{
    ASSERT_EQ(1, read(concat({polylineHeader("1"), {"210", "0", "220", "0", "230", "-1"}, vertex("0", "0"),
                              vertex("1", "0", {"42", "1"}), vertex("1", "1"), kSeqend})));
    const Lines expected{"Push", "AddLine 0,0 1,0 z=3", "AddArc 1,0.5 r=0.5 a=4.7123889803846897,1.5707963267948966 z=3",
                         "AddLine 1,1 0,0 z=3", "Pop"};
    EXPECT_EQ(expected, geometry());
}

TEST_F(PathEntitiesTest, PolylineWithoutSeqendEndsAtTheNextEntity)
{
    ASSERT_EQ(1, read(concat({polylineHeader("0"), vertex("0", "0"), vertex("1", "0"), lineEntity()})));
    EXPECT_EQ((Lines{"AddLine 0,0 1,0 z=3", kLastLine}), geometry());
    EXPECT_NE(std::string::npos, traceLog().find("rdDrEntPolyline:\tunknown entity <LINE>\n"));
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN ENTITY"));
}

TEST_F(PathEntitiesTest, VertexWithoutPositionIsLeftOut)
{
    ASSERT_EQ(1, read(concat({polylineHeader("0"), vertex("0", "0"), {"0", "VERTEX", "20", "5"}, vertex("1", "0"),
                              kSeqend, lineEntity()})));
    EXPECT_EQ((Lines{"AddLine 0,0 1,0 z=3", kLastLine}), geometry());
    EXPECT_NE(std::string::npos, errorLog().find("rdDrEntPOLYLINE:\tNo value for Group Code <10> (Vertex X)\n"));
}

TEST_F(PathEntitiesTest, PolylineBeyondTheVertexLimitIsCutAndTheRestRead)
{
    Lines entities = polylineHeader("0");
    for (int i = 0; i < 200000; ++i)
        entities.insert(entities.end(), {"0", "VERTEX", "10", std::to_string(i), "20", "0"});
    entities = concat({entities, kSeqend, lineEntity()});
    ASSERT_EQ(1, read(entities));
    EXPECT_EQ(99999 + 1, recorder().count("AddLine"));
    EXPECT_EQ(kLastLine, geometry().back());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos, err.find("<rdDrEntPOLYLINE>:\t\tNumber of vertices in POLYLINE exceeded <100000>"));
    EXPECT_EQ(std::string::npos, err.find("UNKNOWN ENTITY"));
}

TEST_F(PathEntitiesTest, PolyfaceMeshDrawsEachVisibleEdgeOnce)
{
    // Two triangles sharing the edge 1-3; the edge from 4 back to 1 is
    // invisible; a face naming a missing vertex draws nothing there.
    const Lines point{"70", "192"};
    ASSERT_EQ(1, read(concat({polylineHeader("64"), {"71", "4", "72", "2"}, vertex("0", "0", point),
                              vertex("1", "0", point), vertex("1", "1", point), vertex("0", "1", point),
                              vertex("0", "0", {"70", "128", "71", "1", "72", "2", "73", "3"}),
                              vertex("0", "0", {"70", "128", "71", "1", "72", "3", "73", "-4"}),
                              vertex("0", "0", {"70", "128", "71", "1", "72", "99", "73", "0"}), kSeqend})));
    const Lines expected{"AddLine 0,0 1,0 z=none", "AddLine 1,0 1,1 z=none", "AddLine 1,1 0,0 z=none",
                         "AddLine 1,1 0,1 z=none"};
    EXPECT_EQ(expected, geometry());
}

TEST_F(PathEntitiesTest, PolygonMeshDrawsRowsAndColumns)
{
    Lines entities = concat({polylineHeader("48"), {"71", "2", "72", "3"}});
    for (const char* y : {"0", "1"})
        for (const char* x : {"0", "1", "2"})
            entities = concat({entities, vertex(x, y, {"70", "64"})});
    entities = concat({entities, kSeqend, polylineHeader("16"), {"71", "5", "72", "5"}, vertex("0", "0"), kSeqend});
    ASSERT_EQ(1, read(entities));
    const Lines expected{"AddPolyline 0,0 1,0 2,0 0,0 z=none", "AddPolyline 0,1 1,1 2,1 0,1 z=none",
                         "AddPolyline 0,0 0,1 z=none", "AddPolyline 1,0 1,1 z=none", "AddPolyline 2,0 2,1 z=none"};
    EXPECT_EQ(expected, geometry());
    EXPECT_NE(std::string::npos, errorLog().find("polygon mesh of <5> x <5> vertices has <1>"));
}

TEST_F(PathEntitiesTest, PaperSpacePolylineIsConsumedWithItsVertices)
{
    ASSERT_EQ(1, read(concat({polylineHeader("0"), {"67", "1"}, vertex("0", "0"), vertex("1", "0"), kSeqend,
                              lineEntity()})));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    EXPECT_EQ(std::string::npos, errorLog().find("UNKNOWN ENTITY"));
}

Lines mlineStyle()
{
    return {"0", "MLINESTYLE", "2", "TWO", "70", "0", "62", "256", "71", "2", "49", "0.5", "62", "256", "6",
            "BYLAYER", "49", "-0.5", "62", "1", "6", "BYBLOCK"};
}

Lines mline(const std::string& style, const std::string& flags = "0")
{
    return {"0",  "MLINE", "8",  "0",  "2",  style, "71", flags, "72", "2",  "73", "2",  "11", "0",
            "21", "0",     "31", "0",  "12", "1",   "22", "0",   "32", "0",  "13", "0",  "23", "1",
            "33", "0",     "11", "10", "21", "0",   "31", "0",   "12", "1",  "22", "0",  "32", "0",
            "13", "0",     "23", "1",  "33", "0"};
}

TEST_F(PathEntitiesTest, MlineElementsFollowTheStyle)
{
    ASSERT_EQ(1, read(mline("TWO"), mlineStyle()));
    const Lines expected{"AddPolyline 0,0 10,0 z=none", "AddPolyline 0,-1 10,-1 z=none"};
    EXPECT_EQ(expected, geometry());
    const std::vector<tagKXAttrib>& sets = recorder().attribSets;
    ASSERT_EQ(2u, sets.size());
    EXPECT_EQ(KX_BYLAYER, sets[0].color);
    EXPECT_EQ(KX_BYLAYER, sets[0].lineStyle);
    EXPECT_EQ(0x0000FFu, recorder().colors.back());  // colour 1 is red
    EXPECT_EQ(static_cast<int>(recorder().colors.size()), sets[1].color);
    EXPECT_EQ(KX_BYBLOCK, sets[1].lineStyle);
    EXPECT_NE(std::string::npos, traceLog().find("MLSTYLE START:\t\t<TWO>"));
}

TEST_F(PathEntitiesTest, ClosedMlineReturnsToItsStart)
{
    ASSERT_EQ(1, read(mline("TWO", "2"), mlineStyle()));
    EXPECT_EQ("AddPolyline 0,0 10,0 0,0 z=none", geometry().at(0));
}

TEST_F(PathEntitiesTest, MlineWithoutItsStyleIsLeftOutAndTheFileScannedOnce)
{
    ASSERT_EQ(1, read(concat({mline("NONE"), mline("NONE"), lineEntity()}), mlineStyle()));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    const std::string message =
        "rdDrEntMLINE:\tNo value for mrkr <71.0> returned (Number of elements, mstsMlinestyle)\n";
    const std::string err = errorLog();
    const std::size_t first = err.find(message);
    ASSERT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, err.find(message, first + 1));
    const std::string log = traceLog();
    const std::size_t scan = log.find("<clssMLINE.SetMLStyles>:\t\tentered");
    ASSERT_NE(std::string::npos, scan);
    EXPECT_EQ(std::string::npos, log.find("<clssMLINE.SetMLStyles>:\t\tentered", scan + 1));
}

TEST_F(PathEntitiesTest, MlineWithMismatchedCountsIsLeftOut)
{
    Lines wrongVertices = mline("TWO");
    wrongVertices[9] = "3";  // group 72
    Lines wrongElements = mline("TWO");
    wrongElements[11] = "4";  // group 73
    ASSERT_EQ(1, read(concat({wrongVertices, wrongElements, lineEntity()}), mlineStyle()));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos,
              err.find("rdDrEntMLINE:\tNumber of verticies read <2> not equals that specified under Group Code 72 <3>)\n"));
    EXPECT_NE(std::string::npos, err.find("rdDrEntMLINE:\tNumber of elemest defined in mstsMlinestyle (2) != that in MLINE (4)\n"));
}

Lines spline(const std::string& degree, int controls, int knots, const std::string& weight = "1")
{
    Lines lines{"0", "SPLINE", "8", "0", "71", degree};
    for (int i = 0; i < knots; ++i)
        lines.insert(lines.end(), {"40", std::to_string(i)});
    for (int i = 0; i < controls; ++i)
        lines.insert(lines.end(), {"10", std::to_string(i), "20", "0", "41", weight});
    return lines;
}

TEST_F(PathEntitiesTest, SplineKnotsMustFitDegreeAndControlPoints)
{
    ASSERT_EQ(1, read(concat({spline("3", 4, 8), spline("3", 4, 7), spline("0", 4, 5, "0"),
                              spline("1000", 4, 8, "-1"), lineEntity()})));
    const Lines expected{"AddSpline d=3 n=4 k=8", "AddSpline d=3 n=4 k=7", "AddSpline d=0 n=4 k=5",
                         "AddSpline d=1000 n=4 k=8", kLastLine};
    EXPECT_EQ(expected, geometry());
    const std::string err = errorLog();
    EXPECT_NE(std::string::npos,
              err.find("rdDrEntSPLINE:\tSpline of degree <3> with <4> control points and <7> knots not created"));
    EXPECT_NE(std::string::npos, err.find("degree <1000>"));
}

TEST_F(PathEntitiesTest, SplineWithoutKnotsIsLeftOut)
{
    ASSERT_EQ(1, read(concat({spline("3", 4, 0), lineEntity()})));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    EXPECT_NE(std::string::npos, errorLog().find("rdDrEntSPLINE:\tNo value for Group Code <40> number of KNOTS read\n"));
}

// As written by programs that keep only the fit points: no 10 or 40.
Lines fitSpline(int fits, const Lines& more = {})
{
    Lines lines = concat({{"0", "SPLINE", "8", "0", "73", "0", "72", "0", "74", std::to_string(fits)}, more});
    for (int i = 0; i < fits; ++i)
        lines.insert(lines.end(), {"11", std::to_string(i), "21", std::to_string(i * i % 3), "31", "0"});
    return lines;
}

TEST_F(PathEntitiesTest, SplineOfFitPointsIsTheCubicThroughThem)
{
    // Cubic whatever the degree group says (or without it): one Bezier
    // span per pair of fit points.
    // Closed (70 = 1): one more span back to the first point.
    ASSERT_EQ(1, read(concat({fitSpline(4, {"71", "3"}), fitSpline(2), fitSpline(3, {"71", "2"}),
                              fitSpline(4, {"70", "1"}), lineEntity()})));
    const Lines expected{"AddSpline d=3 n=10 k=14", "AddSpline d=3 n=4 k=8", "AddSpline d=3 n=7 k=11",
                         "AddSpline d=3 n=13 k=17", kLastLine};
    EXPECT_EQ(expected, geometry());
    EXPECT_EQ(std::string::npos, errorLog().find("rdDrEntSPLINE"));
    EXPECT_NE(std::string::npos,
              traceLog().find("<rdDrEntSPLINE>:\t\tno CONTROL POINTS, cubic through <4> fit points"));
}

TEST_F(PathEntitiesTest, SplineControlPointsWinOverFitPoints)
{
    Lines both = spline("3", 4, 8);
    const Lines fits = fitSpline(5);
    both.insert(both.end(), fits.begin() + 4, fits.end());
    ASSERT_EQ(1, read(concat({both, lineEntity()})));
    const Lines expected{"AddSpline d=3 n=4 k=8", kLastLine};
    EXPECT_EQ(expected, geometry());
}

TEST_F(PathEntitiesTest, SplineWithoutControlPointsOrTwoFitPointsIsLeftOut)
{
    ASSERT_EQ(1, read(concat({fitSpline(1, {"71", "3"}), fitSpline(0, {"71", "3"}), lineEntity()})));
    EXPECT_EQ(Lines{kLastLine}, geometry());
    const std::string err = errorLog();
    const std::string message = "rdDrEntSPLINE:\tNo value for Group Code <10> number of CONTROL POINTS read\n";
    const std::size_t first = err.find(message);
    ASSERT_NE(std::string::npos, first);
    EXPECT_NE(std::string::npos, err.find(message, first + 1));
}

}  // namespace
}  // namespace kxdxf::test
