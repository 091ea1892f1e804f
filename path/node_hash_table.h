// NodeHashTable: the planner's closed set, 2^bits chains of nodes keyed by their cell. The chains
// run through the nodes' own `nextInBucket`, so the table owns only its bucket array and a search
// allocates nothing. The hash takes the low bits of x and of y side by side, which spreads the
// cells of a grid evenly as long as the grid is at least 2^(bits/2) cells on each side.
#pragma once

#include "core/types.h"
#include "path/node_factory.h"
#include "path/search_node.h"

class NodeHashTable {
 public:
  Node** buckets = nullptr;  // 2^bits chain heads
  u32 bits = 0;              // even, 0 to 24

  NodeHashTable();
  virtual ~NodeHashTable();
  // A copy shares the chains (they run through the nodes) but has its own bucket array.
  NodeHashTable(const NodeHashTable& other);
  NodeHashTable& operator=(const NodeHashTable& other);

  // New empty buckets; bits above 24 become 24 and an odd count loses its lowest bit. Returns the
  // bits stored.
  u32 Resize(u32 newBits);
  u32 BucketCount() const { return u32{1} << bits; }
  u32 Hash(i32 x, i32 y) const;
  // Puts the node at the head of its chain; false for null or a node already on that chain.
  bool Insert(Node* node);
  // The number of nodes on all chains.
  u32 Count() const;
  // Empties every chain, giving each node on them back to the pool when one is given.
  void Clear(NodeFactory* pool = nullptr);

  // Walks the chains, finds a cell and takes nodes off their chain. `link` is the slot that holds
  // the current node (a bucket head or the previous node's `nextInBucket`), so unlinking needs
  // no second walk.
  struct Iterator {
    NodeHashTable* table;
    u32 bucket = 0;
    Node* node = nullptr;
    Node** link = nullptr;

    explicit Iterator(NodeHashTable* t) : table(t) {}
    Node* First();                // the first node of the first non-empty bucket
    Node* Next();                 // the node after the current one, or null at the end
    Node* Find(i32 x, i32 y);     // the node of cell (x, y), or null
    Node* Unlink();  // takes the current node off its chain; `link` then holds the next
    Node* RemoveAndNext();        // Unlink, then move on to the following node

   private:
    Node* ScanFrom(u32 firstBucket);
  };

 private:
  void CopyFrom(const NodeHashTable& other);
  void Replace(Node** fresh, u32 freshBits);
};
