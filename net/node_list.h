// The doubly linked lists of the network session: nodes on the heap, each with `prev` and `next`,
// appended at the tail and taken from the head (or, for the newest-first lists, the tail).
#pragma once

#include "core/types.h"

template <typename Node>
struct NodeList {
  Node* head = nullptr;
  Node* tail = nullptr;
  i32 count = 0;

  void Append(Node* node) {
    node->prev = tail;
    node->next = nullptr;
    if (tail != nullptr) {
      tail->next = node;
    } else {
      head = node;
    }
    tail = node;
    ++count;
  }

  // Unlinks a node of this list; the caller owns it afterwards.
  void Remove(Node* node) {
    if (node->prev != nullptr) {
      node->prev->next = node->next;
    } else {
      head = node->next;
    }
    if (node->next != nullptr) {
      node->next->prev = node->prev;
    } else {
      tail = node->prev;
    }
    node->prev = nullptr;
    node->next = nullptr;
    --count;
  }

  Node* TakeHead() {
    Node* node = head;
    if (node != nullptr) Remove(node);
    return node;
  }

  Node* TakeTail() {
    Node* node = tail;
    if (node != nullptr) Remove(node);
    return node;
  }
};
