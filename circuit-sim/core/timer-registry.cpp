#include "circuit-sim/core/timer-registry.h"

namespace qorsim {

TimerRegistry::Entry *TimerRegistry::take() {
  if (!free_) {
    blocks_.push_back(std::make_unique<Entry[]>(BlockEntries));
    Entry *block = blocks_.back().get();
    for (int i = 0; i < BlockEntries; ++i)
      block[i].next = i + 1 < BlockEntries ? &block[i + 1] : nullptr;
    free_ = block;
  }
  Entry *entry = free_;
  free_ = entry->next;
  return entry;
}

void TimerRegistry::set(std::uintptr_t key, void *value) {
  Entry *&head = buckets_[bucketOf(key)];
  for (Entry *entry = head; entry; entry = entry->next) {
    if (entry->key == key) {
      entry->value = value;
      return;
    }
  }
  Entry *entry = take();
  *entry = {key, value, head};
  head = entry;
  ++size_;
}

void *TimerRegistry::find(std::uintptr_t key) const {
  for (Entry *entry = buckets_[bucketOf(key)]; entry; entry = entry->next) {
    if (entry->key == key)
      return entry->value;
  }
  return nullptr;
}

bool TimerRegistry::remove(std::uintptr_t key) {
  for (Entry **link = &buckets_[bucketOf(key)]; *link; link = &(*link)->next) {
    Entry *entry = *link;
    if (entry->key != key)
      continue;
    *link = entry->next;
    entry->next = free_;
    free_ = entry;
    if (--size_ == 0) {
      blocks_.clear();
      free_ = nullptr;
    }
    return true;
  }
  return false;
}

} // namespace qorsim
