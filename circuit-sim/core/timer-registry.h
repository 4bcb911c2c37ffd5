// The process-wide maps of the stopwatch class: a small hash map from a
// key (an object's address, or a window-timer identifier) to a timer. It
// has 17 buckets, a key's bucket being (key / 16) modulo 17, since
// addresses of objects are 16-byte aligned and their low bits say nothing;
// its entries come in blocks of 10, and its storage is freed when its last
// entry goes, so that an idle process holds none.
#ifndef CIRCUIT_SIM_TIMER_REGISTRY_H
#define CIRCUIT_SIM_TIMER_REGISTRY_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qorsim {

class TimerRegistry {
public:
  static const int Buckets = 17;
  static const int BlockEntries = 10;

  static int bucketOf(std::uintptr_t key) { return static_cast<int>((key / 16) % Buckets); }

  // Maps key to value, replacing what it mapped to before.
  void set(std::uintptr_t key, void *value);
  // What key maps to, or null.
  void *find(std::uintptr_t key) const;
  // Forgets key; true when it was there. The last entry frees the storage.
  bool remove(std::uintptr_t key);

  std::size_t size() const { return size_; }
  // Entries the storage holds room for: whole blocks, 0 when empty.
  std::size_t capacity() const { return blocks_.size() * BlockEntries; }

private:
  struct Entry {
    std::uintptr_t key;
    void *value;
    Entry *next; // in its bucket, or in the free list
  };
  Entry *take();

  std::vector<std::unique_ptr<Entry[]>> blocks_;
  Entry *buckets_[Buckets] = {};
  Entry *free_ = nullptr;
  std::size_t size_ = 0;
};

} // namespace qorsim

#endif
