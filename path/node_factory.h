// The node pool of a search: every node is allocated up front by Reserve and handed out strictly
// in array order, so a search never allocates. Nodes go back only by lowering `used`: since they
// leave in order, lowering it by the number a finished search holds frees all of them at once.
#pragma once

#include "core/types.h"
#include "path/search_node.h"

class NodeFactory {
 public:
  u32 count = 0;           // nodes in the pool
  Node** nodes = nullptr;  // `count` pointers, each to a separately allocated node
  u32 used = 0;            // the first `used` entries of `nodes` are handed out

  NodeFactory() = default;
  virtual ~NodeFactory();
  NodeFactory(const NodeFactory&) = delete;
  NodeFactory& operator=(const NodeFactory&) = delete;

  // A fresh pool of n nodes, none handed out; the previous nodes are deleted. Reserve(0) returns
  // false and keeps the previous pool.
  bool Reserve(u32 n);
  // The next free node, or null when the pool is exhausted.
  Node* Allocate();
  // Gives back up to n handed-out nodes (`used` never drops below 0).
  void Release(u32 n) { used = n < used ? used - n : 0; }

 private:
  void DeleteNodes();
};
