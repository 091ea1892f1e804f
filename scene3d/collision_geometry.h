// The plane, box, polygon, segment and sphere tests of the 3D collision library. The object
// queries test a shape brought into an object's coordinates against each triangle of a mesh
// with them; the box and cone tests are in box_cone_triangle.h.
//
// A vector is three consecutive floats and a triangle nine (V0, V1, V2), passed by address. A
// polygon is a span of floats holding its vertices; `count` says how many of them to use and is
// cut to what the span holds, so a wrong count never reads past the caller's storage. All
// arithmetic is single precision in a fixed order (collision_vectors.h). Bad input gives a
// defined answer, never an error; NaN coordinates never read as a hit.
//
// ClosestPointOnSegment, SphereVsTriangle and SphereVsEdges keep their intermediate values in
// one set of static variables: they are not reentrant and run on the main thread only.
#pragma once

#include <span>

#include "core/types.h"

// The signed distance d = n.c - n.p of the centre c from the plane through p with normal n (a
// true distance only for a unit n) is always written to *distance. Answers 1 when |d| < r,
// 2 when d > r (in front), else 0 (behind, or exactly touching at d = r or d = -r).
i32 SphereVsPlane(const f32* c, const f32* n, const f32* p, f32 r, f32* distance);

// The query that never finds a point: answers 0, reads and writes nothing. The last-hit and
// screen-point commands stand on it.
i32 QueryStubZero(f32 a, f32 b, f32 c, f32* out1, f32* out2, f32* out3);

// 1 when the squared distance from q (relative to the box centre, along the box's axes) to the
// box of half sizes hx, hy, hz is at most limit; callers pass the radius squared. No square root.
i32 SphereVsBox(const f32* q, f32 limit, f32 hx, f32 hy, f32 hz);

// Angle-sum test: 1 when the angles the polygon's edges subtend at p add up to at least 0.99 of
// a full turn. p is not checked to lie in the polygon's plane; a vertex at p adds no angle, and
// a point on an edge may read as outside (a rounded cosine below -1 makes the sum NaN).
i32 PointInPolygon(const f32* p, std::span<const f32> polygon, i32 count);

// Where the line p0 + r (p1 - p0) meets the triangle (edges and corners included): r, negative
// behind p0 and above 1 past p1. 0 means no hit: a miss, a line parallel to the plane, a
// zero-area or too thin triangle, a non-finite value, and also a hit exactly at p0.
f32 SegmentVsTriangle(const f32* triangle, const f32* p0, const f32* p1);

// 1 when the segment (P0, P1 as six floats) has its ends strictly on opposite sides of the
// plane of the polygon's first three vertices and crosses it inside the polygon. A polygon of
// fewer than three vertices has no plane and answers 0.
i32 SegmentVsPolygon(std::span<const f32> polygon, const f32* segment, i32 count);

// The point where the line (P0, P1 as six floats) meets the plane n.X + d = 0, written to out;
// P0 itself when the line is parallel to the plane. Returns out.
f32* SegmentPlanePoint(f32* out, const f32* n, const f32* line, f32 d);

// The point of the segment a-b nearest p, written to out (a when a and b coincide). Returns out;
// out may be a, b or p.
f32* ClosestPointOnSegment(f32* out, const f32* a, const f32* b, const f32* p);

// 1 when the sphere (centre c, radius r) cuts the triangle's plane (|distance| < r) and its
// projected centre lies inside the polygon of the first `count` vertices (at most 3), or one of
// that polygon's edges passes closer than r to c.
i32 SphereVsTriangle(const f32* triangle, const f32* c, i32 count, f32 r);

// 1 when some edge of the polygon passes closer than r to c.
i32 SphereVsEdges(const f32* c, std::span<const f32> polygon, i32 count, f32 r);
