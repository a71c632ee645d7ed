#pragma once

#include <cstdint>
#include <vector>

namespace kalvo {

// An open-addressing hash set of list positions. It stores the positions with a tag taken from
// their hash; the caller hashes and compares the records they point at. The tag rules out most
// other records without touching them, and the table stays at eight bytes a slot even for
// models of millions of edges.
class TIndexTable
{
public:
    // Returns the stored position whose record satisfies matches(position), or -1.
    template <typename Matches> int Find(std::uint64_t hash, const Matches& matches) const
    {
        if (slots_.empty())
            return -1;
        const std::uint32_t tag = TagOf(hash);
        for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const TSlot& entry = slots_[slot];
            if (entry.Position < 0)
                return -1;
            if (entry.Tag == tag && matches(entry.Position))
                return entry.Position;
        }
    }

    // Adds a position whose record is not in the table yet. hashOf(position) must give the
    // hash of any stored position; it is called when the table grows.
    template <typename HashOf> void Insert(std::uint64_t hash, int position, const HashOf& hashOf)
    {
        if ((count_ + 1) * 2 > slots_.size())
            Grow(hashOf);
        Place(hash, position);
        ++count_;
    }

    // Starts loading the slot a lookup of hash begins at, so that several lookups can wait for
    // memory at once.
    void Prefetch(std::uint64_t hash) const
    {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[hash & mask_]);
    }

    void Clear()
    {
        slots_.clear();
        count_ = 0;
        mask_ = 0;
    }

    std::size_t Count() const { return count_; }

private:
    struct TSlot
    {
        int Position = -1; // -1: empty
        std::uint32_t Tag = 0;
    };

    // The high half of the hash; the low half chooses the slot.
    static std::uint32_t TagOf(std::uint64_t hash)
    {
        return static_cast<std::uint32_t>(hash >> 32);
    }

    template <typename HashOf> void Grow(const HashOf& hashOf)
    {
        std::vector<TSlot> old;
        old.swap(slots_);
        const std::size_t size = old.empty() ? 64 : old.size() * 2;
        slots_.assign(size, TSlot{});
        mask_ = size - 1;
        for (const TSlot& entry : old)
            if (entry.Position >= 0)
                Place(hashOf(entry.Position), entry.Position);
    }

    void Place(std::uint64_t hash, int position)
    {
        std::size_t slot = hash & mask_;
        while (slots_[slot].Position >= 0)
            slot = (slot + 1) & mask_;
        slots_[slot] = TSlot{position, TagOf(hash)};
    }

    std::vector<TSlot> slots_;
    std::size_t count_ = 0;
    std::size_t mask_ = 0;
};

// Mixes a 64-bit value so that neighbouring inputs land far apart (the finaliser of
// MurmurHash3).
inline std::uint64_t MixHash(std::uint64_t value)
{
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

} // namespace kalvo
