// The search containers: the ring's end fast paths, its middle changes and refusals against a
// plain vector, the closed set's sizing, chains, iterator and copies, and the node pool.
#include <new>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "path/fixed_deque.h"
#include "path/node_hash_table.h"
#include "tests/path/allocation_limit.h"

namespace {

TEST(FixedDeque, EndsAndWrappedErase) {
  Node n[4];
  FixedDeque<Node*> d;
  auto ends = [&] { return std::pair(d.head, d.tail); };
  auto wrapped = [&] {  // n1, n0, n2 in slots 3, 0, 1
    d.Allocate(4);
    EXPECT_TRUE(d.InsertAt(0, &n[0]));  // into an empty ring: appends
    EXPECT_EQ(std::pair(0u, 1u), ends());
    EXPECT_TRUE(d.InsertAt(0, &n[1]));  // prepends, wrapping the head
    EXPECT_EQ(std::pair(3u, 1u), ends());
    d.PushBack(&n[2]);
  };
  wrapped();
  EXPECT_TRUE(d.EraseAt(0));
  EXPECT_EQ(std::pair(0u, 2u), ends());
  wrapped();
  EXPECT_TRUE(d.EraseAt(2));
  EXPECT_EQ(std::pair(3u, 1u), ends());
  d.PushBack(&n[2]);
  EXPECT_TRUE(d.InsertAt(1, &n[3]));  // a middle insertion that fills the ring
  EXPECT_EQ(std::pair(0u, 0u), ends());
  EXPECT_FALSE(d.InsertAt(1, &n[3]));
}

// Indexes up to count + 1 are tried, so a full ring meets EraseAt (count), a ring one short of
// full meets InsertAt (capacity), and a ring without slots meets every insertion: all refused.
TEST(FixedDeque, MatchesAVectorUnderRandomEdits) {
  std::vector<Node> nodes(64);
  std::mt19937 rng(7);
  for (u32 capacity : {0u, 1u, 2u, 5u, 16u}) {
    FixedDeque<Node*> d;
    d.Allocate(capacity);
    std::vector<Node*> model;  // the same edits on a plain vector
    for (int step = 0; step < 2000; ++step) {
      const u32 i = rng() % (model.size() + 2);
      if (rng() % 2 != 0) {
        Node* p = &nodes[rng() % nodes.size()];
        const bool fits = i <= model.size() && model.size() < capacity;
        ASSERT_EQ(fits, d.InsertAt(i, p));
        if (fits) model.insert(model.begin() + i, p);
      } else {
        const bool held = i < model.size();
        ASSERT_EQ(held, d.EraseAt(i));
        if (held) model.erase(model.begin() + i);
      }
      ASSERT_EQ(model.size(), d.Count());
      for (u32 k = 0; k < d.Count(); ++k) ASSERT_EQ(model[k], d.At(k)) << "slot " << k;
    }
  }
}

TEST(NodeHashTable, SizingChainsIteratorAndPool) {
  NodeHashTable table;
  for (auto [asked, stored] : {std::pair{25u, 24u}, {7u, 6u}, {0u, 0u}, {4u, 4u}})
    EXPECT_EQ(stored, table.Resize(asked));
  EXPECT_EQ(1u + 4u * 2u, table.Hash(5, 10));
  NodeFactory pool;
  ASSERT_TRUE(pool.Reserve(5));
  EXPECT_FALSE(pool.Reserve(0));  // keeps the five nodes
  Node* n[5];
  const i32 xs[5] = {0, 0, 1, 4, 5};  // buckets 0, 0, 1, 0, 1; n0 and n1 share a cell
  for (i32 i = 0; i < 5; ++i) *(n[i] = pool.Allocate()) = Node{nullptr, xs[i], 0, 0, 0, nullptr};
  EXPECT_EQ(nullptr, pool.Allocate());
  for (Node* p : {n[0], n[0], n[1], n[2], n[4], n[3], static_cast<Node*>(nullptr)}) table.Insert(p);
  EXPECT_EQ(5u, table.Count());  // the second n0 and null were refused
  NodeHashTable::Iterator it(&table);
  EXPECT_EQ(n[1], it.Find(0, 0));  // chain 0 is n3, n1, n0: the newest first
  EXPECT_EQ(n[1], it.Unlink());
  EXPECT_EQ(n[0], it.Find(0, 0));
  EXPECT_EQ(n[3], it.First());
  EXPECT_EQ(n[0], it.Next());
  EXPECT_EQ(n[0], it.RemoveAndNext());  // the last of its chain: on to the next bucket
  EXPECT_EQ(n[4], it.RemoveAndNext());
  EXPECT_EQ(n[2], it.node);  // the rest of the same chain
  pool.used = 1;  // fewer handed out than the chains hold: the count stops at 0
  table.Clear(&pool);
  EXPECT_EQ(std::pair(0u, 0u), std::pair(pool.used, table.Count()));
  // From the end of a chain the walk goes on to the next bucket holding one, the last bucket
  // included, and past that it ends.
  n[2]->x = n[2]->y = 3;  // bucket 15; n0 and n4 in buckets 0 and 1
  for (Node* p : {n[2], n[4], n[0]}) table.Insert(p);
  EXPECT_EQ(n[0], it.First());
  EXPECT_EQ(n[4], it.Next());
  EXPECT_EQ(n[2], it.Next());
  EXPECT_EQ(nullptr, it.Next());
  // Memory running out while a table is copied leaves the copy as it was (nothing freed twice).
  NodeHashTable copy;
  try {
    const ScopedAllocationLimit limit(0);
    copy = table;
  } catch (const std::bad_alloc&) {
  }
  EXPECT_EQ(0u, copy.Count());
  copy = table;
  EXPECT_EQ(3u, copy.Count());
}

}  // namespace
