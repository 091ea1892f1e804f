// The closed set's buckets, chains and iterator.
#include "path/node_hash_table.h"

#include <algorithm>

namespace {
constexpr u32 kMaxBits = 24;
}

NodeHashTable::NodeHashTable() : buckets(new Node* [1] {}) {}

NodeHashTable::~NodeHashTable() { delete[] buckets; }

NodeHashTable::NodeHashTable(const NodeHashTable& other) { CopyFrom(other); }

NodeHashTable& NodeHashTable::operator=(const NodeHashTable& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

// New arrays are made before the old one goes: when memory runs out, the table keeps its old
// buckets instead of a freed array that the destructor would free again.
void NodeHashTable::Replace(Node** fresh, u32 freshBits) {
  delete[] buckets;
  buckets = fresh;
  bits = freshBits;
}

void NodeHashTable::CopyFrom(const NodeHashTable& other) {
  Node** fresh = new Node*[other.BucketCount()];
  std::copy(other.buckets, other.buckets + other.BucketCount(), fresh);
  Replace(fresh, other.bits);
}

u32 NodeHashTable::Resize(u32 newBits) {
  const u32 stored = std::min(newBits, kMaxBits) & ~u32{1};
  Replace(new Node* [u32{1} << stored] {}, stored);
  return bits;
}

u32 NodeHashTable::Hash(i32 x, i32 y) const {
  const u32 half = bits / 2;
  const u32 mask = (u32{1} << half) - 1;
  return (static_cast<u32>(x) & mask) | ((static_cast<u32>(y) & mask) << half);
}

bool NodeHashTable::Insert(Node* node) {
  if (node == nullptr) return false;
  Node*& head = buckets[Hash(node->x, node->y)];
  for (Node* n = head; n != nullptr; n = n->nextInBucket)
    if (n == node) return false;
  node->nextInBucket = head;
  head = node;
  return true;
}

u32 NodeHashTable::Count() const {
  u32 total = 0;
  for (u32 b = BucketCount(); b-- > 0;)
    for (Node* n = buckets[b]; n != nullptr; n = n->nextInBucket) ++total;
  return total;
}

void NodeHashTable::Clear(NodeFactory* pool) {
  if (pool != nullptr) pool->Release(Count());
  std::fill(buckets, buckets + BucketCount(), nullptr);
}

Node* NodeHashTable::Iterator::ScanFrom(u32 firstBucket) {
  node = nullptr;
  for (u32 b = firstBucket; b < table->BucketCount(); ++b) {
    if (table->buckets[b] != nullptr) {
      bucket = b;
      link = &table->buckets[b];
      node = *link;
      break;
    }
  }
  return node;
}

Node* NodeHashTable::Iterator::First() { return table == nullptr ? nullptr : ScanFrom(0); }

Node* NodeHashTable::Iterator::Next() {
  if (node == nullptr) return nullptr;
  if (node->nextInBucket != nullptr) {
    link = &node->nextInBucket;
    node = *link;
    return node;
  }
  return ScanFrom(bucket + 1);
}

Node* NodeHashTable::Iterator::Find(i32 x, i32 y) {
  if (table == nullptr) return nullptr;
  bucket = table->Hash(x, y);
  link = &table->buckets[bucket];
  while (*link != nullptr && ((*link)->x != x || (*link)->y != y)) link = &(*link)->nextInBucket;
  node = *link;
  return node;
}

Node* NodeHashTable::Iterator::Unlink() {
  if (node == nullptr) return nullptr;
  *link = node->nextInBucket;
  return node;
}

Node* NodeHashTable::Iterator::RemoveAndNext() {
  Node* removed = Unlink();
  if (removed == nullptr) return nullptr;
  node = *link;
  if (node == nullptr) ScanFrom(bucket + 1);
  return removed;
}
