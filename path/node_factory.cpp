// The node pool: allocation of the nodes up front, and their deletion.
#include "path/node_factory.h"

NodeFactory::~NodeFactory() { DeleteNodes(); }

void NodeFactory::DeleteNodes() {
  if (nodes == nullptr) return;
  for (u32 i = count; i-- > 0;) delete nodes[i];
  delete[] nodes;
  nodes = nullptr;
  count = 0;
}

bool NodeFactory::Reserve(u32 n) {
  if (n == 0) return false;
  DeleteNodes();
  used = 0;
  nodes = new Node*[n];
  for (u32 i = 0; i < n; ++i) nodes[i] = new Node;
  count = n;
  return true;
}

Node* NodeFactory::Allocate() {
  if (nodes == nullptr || used >= count) return nullptr;
  return nodes[used++];
}
