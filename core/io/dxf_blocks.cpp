#include "core/io/dxf_blocks.h"

#include "core/base/cp932.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalvo {

namespace {

TDxfPoint Cross(const TDxfPoint& a, const TDxfPoint& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

TDxfPoint Normalised(const TDxfPoint& p)
{
    const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    return {p.x / length, p.y / length, p.z / length};
}

// Quarter turns get exact sines and cosines, so a block turned by 90 degrees keeps coordinates
// such as 1.0 instead of 6.1e-17.
void SineCosine(double degrees, double& sine, double& cosine)
{
    const double turn = std::fmod(degrees, 360.0);
    const double quarters = turn / 90.0;
    if (quarters == std::floor(quarters)) {
        static constexpr double kSine[] = {0.0, 1.0, 0.0, -1.0};
        const int q = (static_cast<int>(quarters) % 4 + 4) % 4;
        sine = kSine[q];
        cosine = kSine[(q + 1) % 4];
        return;
    }
    const double radians = turn * (3.14159265358979323846 / 180.0);
    sine = std::sin(radians);
    cosine = std::cos(radians);
}

// copies * faces, held at the limit plus one: enough to tell that the limit is passed.
std::uint64_t SaturatingProduct(std::uint64_t copies, std::uint64_t faces)
{
    constexpr std::uint64_t kCap = TDxfBlockStore::kMaxFaces + 1;
    if (faces != 0 && copies > kCap / faces)
        return kCap;
    return std::min(copies * faces, kCap);
}

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b)
{
    return std::min(a + b, TDxfBlockStore::kMaxFaces + 1);
}

std::uint64_t Copies(const TDxfInsert& insert)
{
    return static_cast<std::uint64_t>(insert.Columns) * static_cast<std::uint64_t>(insert.Rows);
}

} // namespace

TDxfPoint TDxfTransform::Apply(const TDxfPoint& p) const
{
    if (Identity)
        return p;
    return {m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3],
            m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3],
            m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]};
}

TDxfTransform TDxfTransform::After(const TDxfTransform& inner) const
{
    if (Identity)
        return inner;
    if (inner.Identity)
        return *this;
    TDxfTransform result;
    result.Identity = false;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 4; ++column) {
            double sum = column == 3 ? m[row][3] : 0.0;
            for (int k = 0; k < 3; ++k)
                sum += m[row][k] * inner.m[k][column];
            result.m[row][column] = sum;
        }
    }
    return result;
}

TDxfTransform TDxfInsert::Placement(const TDxfPoint& base, int column, int row) const
{
    // Scale about the base point, step to the array cell, turn about the extrusion axis,
    // move to the insertion point; all in the insert's coordinate system, which the
    // extrusion direction then sets in the drawing's.
    const double scale[3] = {ScaleX, ScaleY, ScaleZ};
    const double shift[3] = {-ScaleX * base.x + column * ColumnSpacing,
                             -ScaleY * base.y + row * RowSpacing, -ScaleZ * base.z};
    double sine = 0.0, cosine = 1.0;
    SineCosine(RotationDegrees, sine, cosine);
    const double turn[3][3] = {{cosine, -sine, 0.0}, {sine, cosine, 0.0}, {0.0, 0.0, 1.0}};
    const double point[3] = {Point.x, Point.y, Point.z};
    double linear[3][3];
    double offset[3];
    for (int r = 0; r < 3; ++r) {
        offset[r] = point[r];
        for (int c = 0; c < 3; ++c) {
            linear[r][c] = turn[r][c] * scale[c];
            offset[r] += turn[r][c] * shift[c];
        }
    }

    // The arbitrary-axis rule: the insert's x axis is the world's y or z axis crossed with
    // the extrusion direction, whichever is further from it.
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}; // columns: x, y, z of the insert
    const double length = std::sqrt(Extrusion.x * Extrusion.x + Extrusion.y * Extrusion.y +
                                    Extrusion.z * Extrusion.z);
    if (length > 0.0 && std::isfinite(length) &&
        !(Extrusion.x == 0.0 && Extrusion.y == 0.0 && Extrusion.z > 0.0)) {
        const TDxfPoint n = Normalised(Extrusion);
        const bool nearZ = std::fabs(n.x) < 1.0 / 64.0 && std::fabs(n.y) < 1.0 / 64.0;
        const TDxfPoint ax = Normalised(Cross(nearZ ? TDxfPoint{0, 1, 0} : TDxfPoint{0, 0, 1}, n));
        const TDxfPoint ay = Normalised(Cross(n, ax));
        const TDxfPoint columns[3] = {ax, ay, n};
        for (int c = 0; c < 3; ++c) {
            axes[0][c] = columns[c].x;
            axes[1][c] = columns[c].y;
            axes[2][c] = columns[c].z;
        }
    }

    TDxfTransform result;
    bool identity = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += axes[r][k] * linear[k][c];
            result.m[r][c] = sum;
            identity = identity && sum == (r == c ? 1.0 : 0.0);
        }
        double sum = 0.0;
        for (int k = 0; k < 3; ++k)
            sum += axes[r][k] * offset[k];
        result.m[r][3] = sum;
        identity = identity && sum == 0.0;
    }
    result.Identity = identity;
    return result;
}

void TDxfBlockStore::BeginBlock(const std::string& name, const TDxfPoint& base)
{
    EndBlock();
    TBlock block;
    block.Name = name;
    block.Base = base;
    block.FirstFace = block.EndFace = faces_.size();
    block.FirstInsert = block.EndInsert = inserts_.size();
    currentBlock_ = static_cast<int>(blocks_.size());
    // A name defined twice keeps its first definition.
    blockByName_.emplace(name, currentBlock_);
    blocks_.push_back(std::move(block));
}

void TDxfBlockStore::EndBlock()
{
    if (currentBlock_ < 0)
        return;
    TBlock& block = blocks_[currentBlock_];
    block.EndFace = faces_.size();
    block.EndInsert = inserts_.size();
    currentBlock_ = -1;
}

int TDxfBlockStore::AddPoints(const TDxfPoint* points, int count)
{
    const int first = static_cast<int>(points_.size());
    points_.insert(points_.end(), points, points + count);
    return first;
}

void TDxfBlockStore::AddFace(const int (&corners)[4], int colourNumber, int layer)
{
    keeping_ = true;
    faces_.push_back(
        {{corners[0], corners[1], corners[2], corners[3]}, colourNumber, layer, currentBlock_});
}

void TDxfBlockStore::AddInsert(TDxfInsert insert)
{
    keeping_ = true;
    inserts_.push_back({std::move(insert), faces_.size(), currentBlock_});
}

int TDxfBlockStore::InternLayer(const std::string& name)
{
    const auto [at, added] = layerByName_.emplace(name, static_cast<int>(layers_.size()));
    if (added)
        layers_.push_back(name);
    return at->second;
}

void TDxfBlockStore::Analyse()
{
    for (TStoredInsert& insert : inserts_) {
        const auto at = blockByName_.find(insert.Insert.Block);
        insert.Block = at == blockByName_.end() ? -1 : at->second;
    }
    for (TBlock& block : blocks_)
        block.Faces = std::min<std::uint64_t>(block.EndFace - block.FirstFace, kMaxFaces + 1);

    // Depth-first over the blocks each block inserts, with an explicit stack so that a long
    // chain of blocks cannot exhaust the call stack. A block met again while still open is a
    // cycle.
    const auto combine = [this](TBlock& parent, const TStoredInsert& insert, const TBlock& child) {
        parent.Faces =
            SaturatingSum(parent.Faces, SaturatingProduct(Copies(insert.Insert), child.Faces));
        parent.Depth = std::max(parent.Depth, child.Depth + 1);
        parent.Cyclic = parent.Cyclic || child.Cyclic;
    };
    enum : char { kNew, kOpen, kDone };
    std::vector<char> state(blocks_.size(), kNew);
    std::vector<std::pair<int, std::size_t>> stack; // block, next of its inserts
    for (int root = 0; root < static_cast<int>(blocks_.size()); ++root) {
        if (state[root] != kNew)
            continue;
        state[root] = kOpen;
        stack.emplace_back(root, blocks_[root].FirstInsert);
        while (!stack.empty()) {
            const int block = stack.back().first;
            const std::size_t next = stack.back().second;
            if (next < blocks_[block].EndInsert) {
                ++stack.back().second;
                const int child = inserts_[next].Block;
                if (child < 0)
                    continue;
                if (state[child] == kOpen) {
                    blocks_[block].Cyclic = true;
                } else if (state[child] == kNew) {
                    state[child] = kOpen;
                    stack.emplace_back(child, blocks_[child].FirstInsert);
                } else {
                    combine(blocks_[block], inserts_[next], blocks_[child]);
                }
                continue;
            }
            state[block] = kDone;
            stack.pop_back();
            if (!stack.empty()) {
                const TStoredInsert& insert = inserts_[stack.back().second - 1];
                combine(blocks_[stack.back().first], insert, blocks_[block]);
            }
        }
    }
}

void TDxfBlockStore::EmitFace(const TFace& face, const TDxfTransform& transform,
                              const TEmit& emit) const
{
    TDxfPoint corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = transform.Apply(points_[face.Corners[i]]);
    emit(face.ColourNumber, face.Layer, corners);
}

void TDxfBlockStore::EmitBlock(const TBlock& block, const TDxfTransform& transform,
                               const TEmit& emit) const
{
    std::size_t insert = block.FirstInsert;
    for (std::size_t face = block.FirstFace; face <= block.EndFace; ++face) {
        for (; insert < block.EndInsert && inserts_[insert].Position <= face; ++insert)
            EmitInsert(inserts_[insert], transform, emit);
        if (face < block.EndFace)
            EmitFace(faces_[face], transform, emit);
    }
}

void TDxfBlockStore::EmitInsert(const TStoredInsert& insert, const TDxfTransform& transform,
                                const TEmit& emit) const
{
    if (insert.Block < 0 || blocks_[insert.Block].Faces == 0)
        return;
    const TBlock& block = blocks_[insert.Block];
    for (int row = 0; row < insert.Insert.Rows; ++row) {
        for (int column = 0; column < insert.Insert.Columns; ++column)
            EmitBlock(block, transform.After(insert.Insert.Placement(block.Base, column, row)),
                      emit);
    }
}

bool TDxfBlockStore::CheckInsert(const TStoredInsert& insert, std::uint64_t& total,
                                 const TStop& stop) const
{
    if (insert.Block < 0)
        return true;
    const TBlock& block = blocks_[insert.Block];
    const std::string name = "「" + Cp932ToUtf8(block.Name) + "」";
    if (block.Cyclic) {
        stop("ブロック" + name + "が自分自身を挿入しています。読み込みをここで止めます。");
        return false;
    }
    if (block.Depth > kMaxNesting) {
        stop("ブロック" + name + "の挿入の入れ子が " + std::to_string(kMaxNesting) +
             " 段を超えています。読み込みをここで止めます。");
        return false;
    }
    total = SaturatingSum(total, SaturatingProduct(Copies(insert.Insert), block.Faces));
    if (total > kMaxFaces) {
        stop("ブロック" + name + "を展開すると面が 5000 万を超えます。読み込みをここで止めます。");
        return false;
    }
    return true;
}

bool TDxfBlockStore::Finish(const TEmit& emit, const TStop& stop)
{
    EndBlock();
    const TDxfTransform identity;
    if (inserts_.empty()) {
        // Nothing places the blocks: every face counts where it stands, as it always has.
        for (const TFace& face : faces_)
            EmitFace(face, identity, emit);
        return true;
    }
    Analyse();
    std::uint64_t total = 0;
    std::size_t insert = 0;
    for (std::size_t face = 0; face <= faces_.size(); ++face) {
        for (; insert < inserts_.size() && inserts_[insert].Position <= face; ++insert) {
            const TStoredInsert& stored = inserts_[insert];
            if (stored.Owner >= 0)
                continue;
            if (!CheckInsert(stored, total, stop))
                return false;
            EmitInsert(stored, identity, emit);
        }
        if (face == faces_.size() || faces_[face].Owner >= 0)
            continue;
        if (++total > kMaxFaces) {
            stop("面が 5000 万を超えます。読み込みをここで止めます。");
            return false;
        }
        EmitFace(faces_[face], identity, emit);
    }
    return true;
}

} // namespace kalvo
