#include "core/model/model_list.h"

#include "core/model/preview_obj.h"

#include <cassert>

namespace kalvo {

TModelList::~TModelList() { Clear(); }

TModelEntry& TModelList::Add(std::unique_ptr<TpreviewObj> model)
{
    assert(model);
    auto entry = std::make_unique<TModelEntry>();
    entry->Name = model->Name;
    entry->Model = std::move(model);
    entries_.push_back(std::move(entry));
    return *entries_.back();
}

void TModelList::RemoveAt(int index)
{
    assert(index >= 0 && index < Count());
    // The hook sees the entry while it is still listed and its model alive; a template window
    // drawing from the model must be gone before the model is.
    if (BeforeRemove)
        BeforeRemove(*entries_[index]);
    std::unique_ptr<TModelEntry> removed = std::move(entries_[index]);
    entries_.erase(entries_.begin() + index);
}

void TModelList::RemoveSelected()
{
    for (int i = 0; i < Count();) {
        if (entries_[i]->Selected)
            RemoveAt(i);
        else
            ++i;
    }
}

void TModelList::Clear()
{
    while (!entries_.empty())
        RemoveAt(0);
}

TModelEntry* TModelList::Find(const TpreviewObj* model)
{
    const int index = IndexOf(model);
    return index < 0 ? nullptr : entries_[index].get();
}

const TModelEntry* TModelList::Find(const TpreviewObj* model) const
{
    const int index = IndexOf(model);
    return index < 0 ? nullptr : entries_[index].get();
}

int TModelList::IndexOf(const TpreviewObj* model) const
{
    for (int i = 0; i < Count(); ++i) {
        if (model && entries_[i]->Model.get() == model)
            return i;
    }
    return -1;
}

int TModelList::SelectedCount() const
{
    int count = 0;
    for (const auto& entry : entries_)
        count += entry->Selected ? 1 : 0;
    return count;
}

TpreviewObj* TModelList::OnlySelected() const
{
    TpreviewObj* only = nullptr;
    for (const auto& entry : entries_) {
        if (!entry->Selected)
            continue;
        if (only)
            return nullptr;
        only = entry->Model.get();
    }
    return only;
}

std::optional<TBox> TModelList::SelectedBox() const
{
    const bool anySelected = SelectedCount() > 0;
    std::optional<TBox> box;
    for (const auto& entry : entries_) {
        if (anySelected && !entry->Selected)
            continue;
        const std::optional<TBox> own = BoxOf(*entry->Model);
        if (!own)
            continue;
        if (box)
            Unite(*box, *own);
        else
            box = own;
    }
    return box;
}

} // namespace kalvo
