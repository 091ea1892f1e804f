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
  // Counted as they are made: when memory runs out part way, the destructor still deletes every
  // node made so far.
  for (count = 0; count < n; ++count) nodes[count] = new Node;
  return true;
}

Node* NodeFactory::Allocate() {
  if (nodes == nullptr || used >= count) return nullptr;
  return nodes[used++];
}
