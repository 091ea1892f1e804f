// Bounding spheres of a built or loaded mesh. The building entries themselves are members of the
// device (rainbows3d.h); the loaders run ComputeMeshBounds after Build as EndObject does.
#pragma once

class MeshObject;

// For every part, the sphere around its triangle vertices (each vertex counted once per triangle
// it belongs to): the centre is their mean (the sum times 1/n), the radius the largest distance
// from it. A part without triangles gets centre (0, 0, 0) and radius 0.
void ComputeMeshBounds(MeshObject& mesh);
