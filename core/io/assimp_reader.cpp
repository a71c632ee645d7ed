#include "core/io/assimp_reader.h"

#include "core/base/message_sink.h"
#include "core/base/text.h"
#include "core/io/read_watch.h"
#include "core/model/preview_obj.h"

#include <algorithm>
#include <assimp/DefaultIOSystem.h>
#include <assimp/IOStream.hpp>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <cctype>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace kalvo {

namespace {

constexpr int kMaxCorners = 4; // the renderer and the writer take polygons of up to four
constexpr unsigned kImportFlags = aiProcess_ValidateDataStructure;
constexpr const char* kExtensions[] = {".obj", ".stl", ".ply", ".gltf", ".glb",
                                       ".3ds", ".lwo", ".dae", ".fbx"};

struct TUv
{
    double u, v;
};

struct TInstance
{
    unsigned Mesh;
    aiMatrix4x4 Transform;
};

// 0..1 floats to 0x00BBGGRR.
TColour ColourOf(const aiColor4D& c)
{
    const auto byte = [](float value) {
        const float clamped = std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
        return static_cast<TColour>(std::lround(clamped * 255.0f));
    };
    return byte(c.r) | byte(c.g) << 8 | byte(c.b) << 16;
}

// Fills one model from a scene the library has checked.
class TSceneBuilder
{
public:
    // watch, when given, hears of the vertices and faces built and may stop the building.
    TSceneBuilder(const aiScene& scene, TpreviewObj& model, TReadWatch* watch = nullptr)
        : scene_(scene), model_(model), watch_(watch)
    {
    }

    void Build()
    {
        std::vector<TInstance> instances = Instances();
        std::size_t vertices = 0, faces = 0;
        for (const TInstance& instance : instances) {
            vertices += scene_.mMeshes[instance.Mesh]->mNumVertices;
            faces += scene_.mMeshes[instance.Mesh]->mNumFaces;
        }
        model_.Reserve(vertices, faces * 2, faces);
        work_ = static_cast<std::int64_t>(vertices + faces);
        int group = 0;
        for (const TInstance& instance : instances) {
            if (AddMesh(*scene_.mMeshes[instance.Mesh], instance.Transform, group))
                ++group;
        }
        if (group > 1) {
            // A vertex shared by two meshes (same position and (u, v)) belongs to the later
            // one; keep each group's vertices together, as the object tree expects.
            model_.NumberVertices();
            model_.SortVerticesByGroup(0, model_.VertexCount() - 1);
            model_.RemapAfterSort();
        }
        SetUvRange();
    }

private:
    // Every mesh a node places, with the node's transform to the root, ordered by mesh (the
    // file's order) and by the order of the nodes for a mesh placed twice.
    std::vector<TInstance> Instances() const
    {
        std::vector<TInstance> instances;
        std::vector<std::pair<const aiNode*, aiMatrix4x4>> stack;
        if (scene_.mRootNode)
            stack.emplace_back(scene_.mRootNode, scene_.mRootNode->mTransformation);
        while (!stack.empty()) {
            const auto [node, transform] = stack.back();
            stack.pop_back();
            for (unsigned i = 0; i < node->mNumMeshes; ++i) {
                if (node->mMeshes[i] < scene_.mNumMeshes)
                    instances.push_back({node->mMeshes[i], transform});
            }
            for (unsigned i = node->mNumChildren; i-- > 0;) {
                const aiNode* child = node->mChildren[i];
                stack.emplace_back(child, transform * child->mTransformation);
            }
        }
        std::stable_sort(instances.begin(), instances.end(),
                         [](const TInstance& a, const TInstance& b) { return a.Mesh < b.Mesh; });
        return instances;
    }

    TColour MeshColour(const aiMesh& mesh) const
    {
        aiColor4D diffuse(1.0f, 1.0f, 1.0f, 1.0f);
        if (mesh.mMaterialIndex < scene_.mNumMaterials)
            scene_.mMaterials[mesh.mMaterialIndex]->Get(AI_MATKEY_COLOR_DIFFUSE, diffuse);
        return ColourOf(diffuse);
    }

    bool AddMesh(const aiMesh& mesh, const aiMatrix4x4& transform, int group)
    {
        bool anyFace = false;
        for (unsigned f = 0; f < mesh.mNumFaces && !anyFace; ++f)
            anyFace = mesh.mFaces[f].mNumIndices >= 3;
        if (!anyFace)
            return false;
        const aiVector3D* uvs = mesh.HasTextureCoords(0) ? mesh.mTextureCoords[0] : nullptr;
        std::vector<int> index(mesh.mNumVertices);
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
            const aiVector3D p = transform * mesh.mVertices[i];
            const TUv uv = uvs ? TUv{uvs[i].x, uvs[i].y} : TUv{0.0, 0.0};
            index[i] =
                model_.AddVertexWithUv(FillVertexInput(p.x, p.y, p.z, uv.u, uv.v, group, 0, false));
            Step();
        }
        const TColour colour = MeshColour(mesh);
        std::vector<int> corners;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            corners.clear();
            for (unsigned k = 0; k < face.mNumIndices; ++k) {
                if (face.mIndices[k] >= mesh.mNumVertices)
                    break;
                const int corner = index[face.mIndices[k]];
                // Corners at one position would make a side from a vertex to itself.
                if (corners.empty() || corners.back() != corner)
                    corners.push_back(corner);
            }
            while (corners.size() > 1 && corners.back() == corners.front())
                corners.pop_back();
            AddPolygon(colour, corners);
            Step();
        }
        return true;
    }

    void AddPolygon(TColour colour, const std::vector<int>& corners)
    {
        const int n = static_cast<int>(corners.size());
        if (n < 3)
            return;
        // A fan from the first corner: pieces of four corners while three or more remain
        // beyond it, then a triangle for a last single corner.
        for (int start = 0; start < n - 2;) {
            const int count = std::min(kMaxCorners, n - start);
            int piece[kMaxCorners];
            piece[0] = corners[0];
            for (int k = 1; k < count; ++k)
                piece[k] = corners[start + k];
            int sides[kMaxCorners];
            for (int k = 0; k < count; ++k)
                sides[k] = model_.AddEdge(piece[k], piece[(k + 1) % count]);
            model_.AddPolygon(colour, sides, count);
            start += count - 2;
        }
    }

    // As the readers keep it: the range of every vertex's (u, v), always holding 0.
    void SetUvRange()
    {
        model_.MinU = model_.MaxU = model_.MinV = model_.MaxV = 0.0;
        for (const TVecPointC& p : model_.Vertices) {
            model_.MinU = std::min(model_.MinU, p.u);
            model_.MaxU = std::max(model_.MaxU, p.u);
            model_.MinV = std::min(model_.MinV, p.v);
            model_.MaxV = std::max(model_.MaxV, p.v);
        }
    }

    // One vertex or face built; the watch hears of every few thousand.
    void Step()
    {
        if ((++done_ & 4095) == 0 && watch_)
            watch_->ReachedCount(done_, work_);
    }

    const aiScene& scene_;
    TpreviewObj& model_;
    TReadWatch* watch_;
    std::int64_t done_ = 0;
    std::int64_t work_ = 0;
};

// A file stream that takes in big reads a piece at a time, telling the watch the bytes the
// whole import has read so far after each; once the watch says stop, reads come back short and
// the library gives up on the file. Importers of most formats read the whole file in one call
// before parsing it, so this is where a long import spends its first and often longest part.
class TWatchedStream : public Assimp::IOStream
{
public:
    static constexpr std::size_t kPieceBytes = std::size_t(4) << 20;

    // Takes stream over: deleting it closes its file.
    TWatchedStream(Assimp::IOStream* stream, TReadWatch& watch, std::int64_t& total)
        : stream_(stream), watch_(watch), total_(total)
    {
    }

    std::size_t Read(void* buffer, std::size_t size, std::size_t count) override
    {
        if (size == 0 || watch_.Cancelled())
            return 0;
        const std::size_t perPiece = std::max<std::size_t>(1, kPieceBytes / size);
        std::size_t done = 0;
        while (done < count) {
            const std::size_t want = std::min(perPiece, count - done);
            const std::size_t got =
                stream_->Read(static_cast<char*>(buffer) + done * size, size, want);
            done += got;
            total_ += static_cast<std::int64_t>(got * size);
            if (got < want || !ContinueAt())
                break;
        }
        return done;
    }
    std::size_t Write(const void*, std::size_t, std::size_t) override { return 0; }
    aiReturn Seek(std::size_t offset, aiOrigin origin) override
    {
        return stream_->Seek(offset, origin);
    }
    std::size_t Tell() const override { return stream_->Tell(); }
    std::size_t FileSize() const override { return stream_->FileSize(); }
    void Flush() override {}

private:
    bool ContinueAt()
    {
        try {
            watch_.Reached(total_);
        } catch (const TReadCancelled&) {
            return false; // the library must not see our exceptions; it sees a short read
        }
        return true;
    }

    std::unique_ptr<Assimp::IOStream> stream_;
    TReadWatch& watch_;
    std::int64_t& total_;
};

// The library's own files, each opened as a watched stream.
class TWatchedIOSystem : public Assimp::DefaultIOSystem
{
public:
    explicit TWatchedIOSystem(TReadWatch& watch) : watch_(watch) {}

    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        Assimp::IOStream* stream = Assimp::DefaultIOSystem::Open(file, mode);
        if (!stream)
            return nullptr;
        // The library deletes what Open returns through Close.
        return new TWatchedStream(stream, watch_, total_);
    }
    void Close(Assimp::IOStream* stream) override { delete stream; }

private:
    TReadWatch& watch_;
    std::int64_t total_ = 0;
};

// Between the library's parsing steps: asks the watch whether to go on.
class TWatchedProgress : public Assimp::ProgressHandler
{
public:
    explicit TWatchedProgress(TReadWatch& watch) : watch_(watch) {}
    bool Update(float) override { return watch_.Continue(); }

private:
    TReadWatch& watch_;
};

bool Build(const aiScene* scene, const Assimp::Importer& importer, TpreviewObj& model,
           TMessageSink& sink, TReadWatch* watch = nullptr)
{
    // A stopped import fails in the library's eyes; it is no error to tell the user.
    if (watch)
        watch->ThrowIfCancelled();
    if (!scene) {
        sink.Show(TMsgKind::Error,
                  std::string("このファイルは読み込めません: ") + importer.GetErrorString(),
                  TButtons::Ok);
        return false;
    }
    if (watch)
        watch->NextPass(); // building the model from the library's scene
    TSceneBuilder(*scene, model, watch).Build();
    return true;
}

} // namespace

bool ReadAssimpFile(const std::string& path, TpreviewObj& model, TMessageSink& sink,
                    TReadWatch* watch)
{
    Assimp::Importer importer;
    if (!watch)
        return Build(importer.ReadFile(path, kImportFlags), importer, model, sink);

    // The library's reading and parsing, then building the model from its scene.
    watch->SetPasses(2);
    TWatchedIOSystem files(*watch);
    TWatchedProgress progress(*watch);
    importer.SetIOHandler(&files);
    importer.SetProgressHandler(&progress);
    const aiScene* scene = importer.ReadFile(path, kImportFlags);
    // Given back before the importer ends, which would delete them. The scene stays with it.
    importer.SetIOHandler(nullptr);
    importer.SetProgressHandler(nullptr);
    return Build(scene, importer, model, sink, watch);
}

bool ReadAssimpBytes(std::string_view bytes, const std::string& extension, TpreviewObj& model,
                     TMessageSink& sink)
{
    Assimp::Importer importer;
    return Build(
        importer.ReadFileFromMemory(bytes.data(), bytes.size(), kImportFlags, extension.c_str()),
        importer, model, sink);
}

bool IsAssimpPath(const std::string& path)
{
    for (const char* extension : kExtensions) {
        if (EndsWithNoCase(path, extension))
            return true;
    }
    return false;
}

} // namespace kalvo
