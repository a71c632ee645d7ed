#pragma once

namespace kalvo {

class TpreviewObj;

// Picking and moving of UV points on a model's map template. Each is a linear scan over the
// stored (u, v) without allocation: the template window runs the picks on every hover tick.

// The vertex nearest to (u, v), the first of equal distances; -1 when none lies within radius
// (a point exactly at the radius is found) or the model has no vertices.
int FindNearestVertex(const TpreviewObj& model, double u, double v, double radius);
// The edge nearest to (u, v), measured to the foot point on the edge's dominant axis, with
// edges across a seam taken the short way round; -1 when none lies within radius. An edge
// whose two ends share one (u, v) is measured to that point.
int FindNearestEdge(const TpreviewObj& model, double u, double v, double radius);
// Moves every marked vertex and every end of a marked edge by (du, dv), each vertex once.
// The model's UV range is left as it was.
void MoveMarked(TpreviewObj& model, double du, double dv);
void ClearMarks(TpreviewObj& model);

} // namespace kalvo
