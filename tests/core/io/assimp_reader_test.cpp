#include "core/io/assimp_reader.h"
#include "core/io/model_files.h"
#include "core/model/preview_obj.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_paths.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kalvo {
namespace {

using test::TRecordingSink;

struct TRead
{
    TRecordingSink sink;
    TpreviewObj model;
    bool ok = false;
};

void ReadBytes(TRead& read, const std::string& bytes, const std::string& extension)
{
    read.ok = ReadAssimpBytes(bytes, extension, read.model, read.sink);
}

int FindVertex(const TpreviewObj& model, double x, double y, double z)
{
    for (int i = 0; i < model.VertexCount(); ++i) {
        const TVecPointC& p = model.Vertices[i];
        if (p.x == x && p.y == y && p.z == z)
            return i;
    }
    return -1;
}

std::multiset<int> SideCounts(const TpreviewObj& model)
{
    std::multiset<int> counts;
    for (const PolygonRec& polygon : model.Polygons)
        counts.insert(polygon.count());
    return counts;
}

// Two objects: a red quad with a triangle beside it, and a hexagon without a material.
const std::string kObj = "mtllib none.mtl\n"
                         "o a\n"
                         "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 0.5 0\n"
                         "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 0.5 0.25\n"
                         "f 1/1 2/2 3/3 4/4\nf 2/2 5/5 3/3\n"
                         "o b\n"
                         "v 0 0 1\nv 1 0 1\nv 1.5 1 1\nv 1 2 1\nv 0 2 1\nv -0.5 1 1\n"
                         "f 6 7 8 9 10 11\n"
                         "l 1 6\n";

TEST(AssimpReading, ObjKeepsPolygonsUvsAndMeshesAsGroups)
{
    TRead read;
    ReadBytes(read, kObj, "obj");
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.sink.Messages.empty());
    // The quad stays whole; the hexagon becomes two quads of a fan; the line is left out.
    EXPECT_EQ(SideCounts(read.model), (std::multiset<int>{3, 4, 4, 4}));
    EXPECT_EQ(read.model.VertexCount(), 11);
    EXPECT_EQ(read.model.EdgeCount(), 4 + 2 + 6 + 1);
    EXPECT_EQ(read.model.GroupCount, 2);
    const int corner = FindVertex(read.model, 2, 0.5, 0);
    ASSERT_GE(corner, 0);
    EXPECT_EQ(read.model.Vertices[corner].u, 0.5);
    EXPECT_EQ(read.model.Vertices[corner].v, 0.25);
    EXPECT_EQ(read.model.Vertices[corner].group, 0);
    EXPECT_EQ(read.model.Vertices[FindVertex(read.model, 1, 2, 1)].group, 1);
    EXPECT_EQ(read.model.MaxU, 1.0);
    EXPECT_EQ(read.model.MaxV, 1.0);
    EXPECT_EQ(read.model.CountEdgeUse(), 2);
}

TEST(AssimpReading, GltfNodesPlaceTheMeshAndVGrowsUpward)
{
    // One triangle, scaled by 2 in a child node of a node moved by 10 along x; its texture
    // coordinates are stored top-down as glTF does: (0, 0) is the top-left of the picture.
    // The material is blue.
    const std::string gltf =
        R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],)"
        R"("nodes":[{"translation":[10,0,0],"children":[1]},{"mesh":0,"scale":[2,2,2]}],)"
        R"("meshes":[{"primitives":[{"attributes":{"POSITION":0,"TEXCOORD_0":1},"material":0}]}],)"
        R"("materials":[{"pbrMetallicRoughness":{"baseColorFactor":[0,0,1,1]}}],)"
        R"("buffers":[{"byteLength":60,"uri":"data:application/octet-stream;base64,)"
        R"(AAAAAAAAAAAAAAAAAACAPwAAAAAAAAAAAAAAAAAAgD8AAAAAAAAAAAAAAAAAAIA/AAAAAAAAAAAAAIA+"}],)"
        R"("bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":36},)"
        R"({"buffer":0,"byteOffset":36,"byteLength":24}],)"
        R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3",)"
        R"("min":[0,0,0],"max":[1,1,0]},{"bufferView":1,"componentType":5126,"count":3,)"
        R"("type":"VEC2"}]})";
    TRead read;
    ReadBytes(read, gltf, "gltf");
    ASSERT_TRUE(read.ok) << (read.sink.Messages.empty() ? "" : read.sink.Messages[0].text);
    ASSERT_EQ(read.model.PolygonCount(), 1);
    EXPECT_EQ(read.model.Polygons[0].colour, 0xFF0000u);
    const int top = FindVertex(read.model, 10, 2, 0); // texture coordinate (0, 0.25)
    ASSERT_GE(top, 0);
    EXPECT_EQ(read.model.Vertices[top].u, 0.0);
    EXPECT_EQ(read.model.Vertices[top].v, 0.75);
    EXPECT_GE(FindVertex(read.model, 12, 0, 0), 0);
}

TEST(AssimpReading, ASeamKeepsTheUvOfEachSide)
{
    // The centre (0, 0, 0) belongs to three triangles of an island near u = 0.1 and to one of
    // an island near u = 0.9: two vertices there, each triangle with its own (u, v), and the
    // island's other corners shared as before.
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv -1 1 0\nv -1 0 0\n"
                            "vt 0.1 0.1\nvt 0.2 0.1\nvt 0.2 0.2\nvt 0.1 0.2\n"
                            "vt 0.9 0.1\nvt 0.8 0.2\nvt 0.8 0.1\n"
                            "f 1/1 2/2 3/3\nf 1/1 3/3 4/4\nf 1/1 4/4 2/2\n"
                            "f 1/5 5/6 6/7\n";
    TRead read;
    ReadBytes(read, obj, "obj");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.model.VertexCount(), 7);
    ASSERT_EQ(read.model.PolygonCount(), 4);
    // The library holds texture coordinates as floats.
    const auto centreU = [&](int polygon) {
        for (const int side : read.model.Polygons[polygon].sides)
            for (const int end :
                 {read.model.Edges[side].StartVertex, read.model.Edges[side].EndVertex})
                if (read.model.Vertices[end].x == 0 && read.model.Vertices[end].y == 0)
                    return read.model.Vertices[end].u;
        return -1.0;
    };
    for (int polygon = 0; polygon < 3; ++polygon)
        EXPECT_FLOAT_EQ(centreU(polygon), 0.1f);
    EXPECT_FLOAT_EQ(centreU(3), 0.9f);
}

TEST(AssimpReading, RefusedFilesGiveOneMessageWithTheLibrarysReason)
{
    for (const auto& [bytes, extension] :
         std::vector<std::pair<std::string, std::string>>{{"Kaydara FBX garbage\n", "fbx"},
                                                          {"solid x\nfacet normal\n", "stl"},
                                                          {"", "obj"},
                                                          {"{\"asset\":", "gltf"}}) {
        TRead read;
        ReadBytes(read, bytes, extension);
        EXPECT_FALSE(read.ok) << extension;
        ASSERT_EQ(read.sink.Messages.size(), 1u) << extension;
        EXPECT_EQ(read.sink.Messages[0].kind, TMsgKind::Error);
        EXPECT_GT(read.sink.Messages[0].text.size(),
                  std::string("このファイルは読み込めません: ").size())
            << extension;
        EXPECT_EQ(read.model.VertexCount(), 0);
    }
}

TEST(AssimpReading, BinaryStlThroughTheFileDispatch)
{
    // 80-byte header, one triangle.
    std::string stl(80, ' ');
    const auto u32 = [&stl](std::uint32_t value) {
        stl.append(reinterpret_cast<const char*>(&value), 4);
    };
    const auto f32 = [&stl](float value) { stl.append(reinterpret_cast<const char*>(&value), 4); };
    u32(1);
    for (const float value : {0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 3.f, 0.f, 0.f, 0.f, 4.f, 0.f})
        f32(value);
    stl.append(2, '\0');
    const std::string path = test::MakeTempDir() + "/one.STL";
    test::WriteFileBytes(path, stl);
    ASSERT_EQ(FormatOfPath(path), TModelFormat::Assimp);
    TRecordingSink sink;
    std::vector<std::unique_ptr<TpreviewObj>> models;
    EXPECT_TRUE(ReadModelFile(path, FormatOfPath(path), sink, models));
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0]->Name, "one.STL");
    EXPECT_EQ(models[0]->PolygonCount(), 1);
    EXPECT_EQ(models[0]->MaxX, 3.0);
    EXPECT_EQ(models[0]->MaxY, 4.0);
}

} // namespace
} // namespace kalvo
