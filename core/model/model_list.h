#pragma once

#include "core/model/box.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kalvo {

class TpreviewObj;

// One model of a document and how the document shows it.
struct TModelEntry
{
    std::unique_ptr<TpreviewObj> Model; // never null while listed
    std::string Name;                   // code page 932, as the list shows it
    bool Shown = true;                  // drawn in the views (the state image)
    bool Selected = false;              // selected in the object list
    int Icon = 0;                       // the list's icon image, 0 or 1; only the list reads it
    std::vector<int> Groups;            // group numbers listed under the model in the tree
};

// The models of one document (a preview window) in the order they were read: the one owner of
// the models. The object window displays it and changes it; the preview scene draws from it;
// a map template window finds its model through it. The commands of the command line use it
// for the models they draw.
//
// Entries stay at their addresses while listed, so a pointer to an entry or its model stays
// valid until that entry is removed. Removing an entry runs BeforeRemove first, while the
// model still exists: the object window closes the model's template window there.
class TModelList
{
public:
    TModelList() = default;
    TModelList(const TModelList&) = delete;
    TModelList& operator=(const TModelList&) = delete;
    ~TModelList();

    // Run with each entry about to be removed, its model still alive.
    std::function<void(TModelEntry& entry)> BeforeRemove;

    // Appends model (not null), shown and unselected, named after the model.
    TModelEntry& Add(std::unique_ptr<TpreviewObj> model);
    // Removes the entry at index (0 <= index < Count()) and frees its model.
    void RemoveAt(int index);
    // Removes every selected entry, first to last.
    void RemoveSelected();
    // Removes every entry.
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    bool Empty() const { return entries_.empty(); }
    TModelEntry& operator[](int index) { return *entries_[index]; }
    const TModelEntry& operator[](int index) const { return *entries_[index]; }

    // The entry holding model, or null.
    TModelEntry* Find(const TpreviewObj* model);
    const TModelEntry* Find(const TpreviewObj* model) const;
    // Position of the entry holding model, or -1.
    int IndexOf(const TpreviewObj* model) const;

    int SelectedCount() const;
    // The model of the only selected entry; null when none or several are selected.
    TpreviewObj* OnlySelected() const;
    // The union of the boxes of the selected models, or of all models when none is selected;
    // hidden models count, models without vertices do not. Nothing when no model counts.
    std::optional<TBox> SelectedBox() const;

    // Range-for over the entries, in list order.
    template <typename TEntry, typename TIter> class TIterator
    {
    public:
        explicit TIterator(TIter at) : at_(at) {}
        TEntry& operator*() const { return **at_; }
        TEntry* operator->() const { return at_->get(); }
        TIterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator==(const TIterator& other) const { return at_ == other.at_; }

    private:
        TIter at_;
    };
    using TEntries = std::vector<std::unique_ptr<TModelEntry>>;
    using iterator = TIterator<TModelEntry, TEntries::iterator>;
    using const_iterator = TIterator<const TModelEntry, TEntries::const_iterator>;
    iterator begin() { return iterator(entries_.begin()); }
    iterator end() { return iterator(entries_.end()); }
    const_iterator begin() const { return const_iterator(entries_.begin()); }
    const_iterator end() const { return const_iterator(entries_.end()); }

private:
    TEntries entries_;
};

} // namespace kalvo
