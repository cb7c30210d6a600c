#pragma once
#include <cstddef>
#include <cstdint>
#include "HugePageAllocator.h"
#include <vector>

// Open-addressing hash map from nonzero 64-bit keys, for the engine's memo
// tables: one flat array and linear probing instead of a node per entry, so
// a lookup costs one cache line and a fresh table costs almost nothing.
template <class Value> class FlatMap {
public:
    FlatMap() { clear(); }

    const Value *find(uint64_t key) const { return const_cast<FlatMap *>(this)->find(key); }
    // The pointer holds until the next insert.
    Value *find(uint64_t key)
    {
        for (std::size_t i = slotOf(key);; i = (i + 1) & mask) {
            if (slots[i].key == key)
                return &slots[i].value;
            if (slots[i].key == 0)
                return nullptr;
        }
    }

    // Starts loading the key's first slot: a batch of keys prefetched before
    // they are looked up waits for memory once instead of once per key.
    void prefetch(uint64_t key) const { __builtin_prefetch(&slots[slotOf(key)]); }

    // The key must not be present yet.
    Value &insert(uint64_t key, const Value &value)
    {
        if (2 * (used + 1) > slots.size())
            rebuild(2 * slots.size());
        ++used;
        return place(key, value);
    }

    std::size_t size() const { return used; }
    // Room for `count` keys without growing: one table instead of a doubling
    // cascade, each step copied and its memory touched afresh.
    void reserve(std::size_t count)
    {
        std::size_t slotCount = slots.size();
        while (2 * count > slotCount)
            slotCount *= 2;
        if (slotCount != slots.size())
            rebuild(slotCount);
    }
    void clear()
    {
        slots.assign(initialSlots, Slot{});
        sizeFor(initialSlots);
        used = 0;
    }

private:
    struct Slot {
        uint64_t key = 0; // 0: empty
        Value value{};
    };
    static constexpr std::size_t initialSlots = 1 << 12;

    std::size_t slotOf(uint64_t key) const { return (key * 0x9E3779B97F4A7C15ull) >> shift; }

    Value &place(uint64_t key, const Value &value)
    {
        std::size_t i = slotOf(key);
        while (slots[i].key != 0)
            i = (i + 1) & mask;
        slots[i].key = key;
        slots[i].value = value;
        return slots[i].value;
    }

    void sizeFor(std::size_t count)
    {
        mask = count - 1;
        shift = 64;
        for (std::size_t n = count; n > 1; n >>= 1)
            --shift;
    }

    void rebuild(std::size_t count)
    {
        std::vector<Slot, HugePageAllocator<Slot>> old(count);
        old.swap(slots);
        sizeFor(count);
        for (const Slot &slot : old) {
            if (slot.key != 0)
                place(slot.key, slot.value);
        }
    }

    std::vector<Slot, HugePageAllocator<Slot>> slots;
    std::size_t mask = 0;
    int shift = 64;
    std::size_t used = 0;
};
