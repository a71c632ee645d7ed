#pragma once

#include "core/io/dxf_reader.h"

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kalvo {

// An affine map of DXF positions: the rows of a 3 x 4 matrix. Identity leaves positions
// untouched bit for bit, which keeps inserted blocks at the exact coordinates of their file
// when nothing moves them.
struct TDxfTransform
{
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    bool Identity = true;

    TDxfPoint Apply(const TDxfPoint& p) const;
    // The map that applies inner first, then this one.
    TDxfTransform After(const TDxfTransform& inner) const;
};

// An INSERT entity: where and how often a block is placed.
struct TDxfInsert
{
    std::string Block; // code page 932 bytes
    TDxfPoint Point;   // insertion point, in the insert's own coordinate system
    double ScaleX = 1.0, ScaleY = 1.0, ScaleZ = 1.0;
    double RotationDegrees = 0.0; // about the extrusion axis
    int Columns = 1, Rows = 1;
    double ColumnSpacing = 0.0, RowSpacing = 0.0;
    TDxfPoint Extrusion{0.0, 0.0, 1.0};

    // The map from the block's coordinates (relative to its base point) into the coordinates
    // the insert stands in, for the copy in column column and row row.
    TDxfTransform Placement(const TDxfPoint& base, int column, int row) const;
};

// Faces kept until the end of a file because blocks and inserts decide where (and whether)
// they go: the faces of block definitions, and every face after the first block face or
// INSERT, so that the order of the faces handed over stays the order of the file.
//
// The DXF reader's parser fills it; Finish hands the faces over. A file without INSERT gives
// every face once, in file order, where it stands (block faces included); a file with INSERT
// gives the faces outside blocks in order, each insert's faces where the insert stands, and
// block faces only through inserts.
class TDxfBlockStore
{
public:
    // colour number, layer (index into Layers(), -1 for none), four corners
    using TEmit = std::function<void(int colourNumber, int layer, const TDxfPoint (&corners)[4])>;
    // Reports why the faces stopped; the text is UTF-8.
    using TStop = std::function<void(const std::string& text)>;

    static constexpr int kMaxNesting = 16;
    static constexpr std::uint64_t kMaxFaces = 50'000'000;

    // Whether faces must be kept now rather than handed over at once.
    bool Keeping() const { return keeping_; }
    bool InBlock() const { return currentBlock_ >= 0; }

    void BeginBlock(const std::string& name, const TDxfPoint& base);
    void EndBlock();
    // Adds points; returns the index of the first.
    int AddPoints(const TDxfPoint* points, int count);
    // A face by the indices of its four corners among the points.
    void AddFace(const int (&corners)[4], int colourNumber, int layer);
    void AddInsert(TDxfInsert insert);
    int InternLayer(const std::string& name);
    const std::vector<std::string>& Layers() const { return layers_; }

    // Hands the kept faces to emit. Stops at the first insert that nests too deep, inserts
    // itself or would take the faces past kMaxFaces, tells stop why, and returns false;
    // the faces handed over before it stay.
    bool Finish(const TEmit& emit, const TStop& stop);

private:
    struct TFace
    {
        int Corners[4];
        int ColourNumber;
        int Layer;
        int Owner; // the block whose definition holds it, -1 for none
    };
    struct TStoredInsert
    {
        TDxfInsert Insert;
        std::size_t Position; // number of faces kept before it
        int Owner;            // the block whose definition holds it, -1 for none
        int Block = -1;       // resolved at Finish; -1 when no block has the name
    };
    struct TBlock
    {
        std::string Name;
        TDxfPoint Base;
        std::size_t FirstFace = 0, EndFace = 0;
        std::size_t FirstInsert = 0, EndInsert = 0;
        // Worked out at Finish.
        std::uint64_t Faces = 0; // after expansion, saturating
        int Depth = 1;           // levels of blocks, this one included
        bool Cyclic = false;     // inserts itself, directly or through others
    };

    void Analyse();
    void EmitFace(const TFace& face, const TDxfTransform& transform, const TEmit& emit) const;
    void EmitBlock(const TBlock& block, const TDxfTransform& transform, const TEmit& emit) const;
    void EmitInsert(const TStoredInsert& insert, const TDxfTransform& transform,
                    const TEmit& emit) const;
    bool CheckInsert(const TStoredInsert& insert, std::uint64_t& total, const TStop& stop) const;

    std::vector<TDxfPoint> points_;
    std::vector<TFace> faces_;
    std::vector<TStoredInsert> inserts_;
    std::vector<TBlock> blocks_;
    std::unordered_map<std::string, int> blockByName_;
    std::vector<std::string> layers_;
    std::unordered_map<std::string, int> layerByName_;
    int currentBlock_ = -1;
    bool keeping_ = false;
};

} // namespace kalvo
