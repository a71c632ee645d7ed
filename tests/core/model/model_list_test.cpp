// The document's model list: removal runs the hook while the model is alive, and the rest keep
// their order and addresses.

#include "core/model/model_list.h"
#include "core/model/preview_obj.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace kalvo;

namespace {

std::unique_ptr<TpreviewObj> Named(const std::string& name)
{
    auto model = std::make_unique<TpreviewObj>();
    model->Name = name;
    return model;
}

} // namespace

TEST(ModelList, RemovingRunsTheHookBeforeTheModelIsFreed)
{
    std::vector<std::string> seen;
    {
        TModelList list;
        list.BeforeRemove = [&seen](TModelEntry& entry) {
            ASSERT_TRUE(entry.Model);
            seen.push_back(entry.Model->Name); // still readable: not freed yet
        };
        for (const char* name : {"A", "B", "C", "D"})
            list.Add(Named(name));
        TModelEntry& b = list[1];
        TModelEntry& d = list[3];
        list[0].Selected = true;
        list[2].Selected = true;

        list.RemoveSelected();
        EXPECT_EQ(seen, (std::vector<std::string>{"A", "C"}));
        ASSERT_EQ(list.Count(), 2);
        EXPECT_EQ(&list[0], &b); // the others stay where they were
        EXPECT_EQ(&list[1], &d);
        EXPECT_EQ(list.IndexOf(d.Model.get()), 1);
        EXPECT_EQ(list.Find(nullptr), nullptr);
        seen.clear();
    }
    // A list going away removes what it holds the same way.
    EXPECT_EQ(seen, (std::vector<std::string>{"B", "D"}));
}
