#pragma once

#include <string>
#include <string_view>

namespace kalvo {

class TMessageSink;
class TReadWatch;
class TpreviewObj;

// Reads the mesh formats of the Assimp library (OBJ, STL, PLY, glTF 2.0, 3DS, LWO, COLLADA,
// FBX) into one model through its building operations:
// - every mesh placed by a node becomes a group, in the order of the file's meshes, with the
//   node transforms applied to its positions;
// - (u, v) from the first texture channel, v growing upward as the library hands it (its
//   importers turn the formats that count v downward, glTF among them, the other way up),
//   which is how the template and RDS files count it;
// - the polygon colour is the material's diffuse colour;
// - polygons keep their corners; those with more than four are cut into a fan of
//   four-cornered pieces (and a last triangle), as the model's polygons have at most four;
// - points and lines are left out.
// Corners at one position with the same (u, v) become one vertex; where a position carries
// several (u, v) (a texture seam), each (u, v) gets a vertex of its own at that position, so
// the faces on both sides of the seam keep the texture the file gives them.
//
// Returns false after one error message naming the library's reason when the library
// refuses the file; the model is then left empty.
//
// watch, when given, hears the bytes the library has read and is asked between its parsing
// steps, then hears of the model being built from the library's scene (two passes); when it
// says stop, the library abandons the file at its next chance, or the building stops, and
// TReadCancelled is thrown.
bool ReadAssimpFile(const std::string& path, TpreviewObj& model, TMessageSink& sink,
                    TReadWatch* watch = nullptr);
// The same for bytes in memory; extension ("obj", "stl", ...) tells the library the format.
bool ReadAssimpBytes(std::string_view bytes, const std::string& extension, TpreviewObj& model,
                     TMessageSink& sink);

// Whether path ends in an extension this reader takes (in any case).
bool IsAssimpPath(const std::string& path);

} // namespace kalvo
