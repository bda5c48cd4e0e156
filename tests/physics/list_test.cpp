#include <kinetra/list.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using kinetra::TLink;
using kinetra::TList;

namespace {

struct TItem {
    int value = 0;
    std::function<void()> onRelease;
    ~TItem() {
        if (onRelease) {
            onRelease();
        }
    }
};

std::shared_ptr<TItem> MakeItem(int value) {
    auto item = std::make_shared<TItem>();
    item->value = value;
    return item;
}

std::vector<int> Values(const TList<TItem>& list) {
    std::vector<int> out;
    for (const auto& item : list) {
        out.push_back(item->value);
    }
    return out;
}

} // namespace

TEST(ListTest, KeepsOrderThroughRemovalsAtEveryPosition) {
    TList<TItem> list;
    std::vector<TLink> links;
    for (int i = 0; i < 5; ++i) {
        links.push_back(list.Append(MakeItem(i)));
    }
    list.Remove(links[2]);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 3, 4}));
    list.Remove(links[0]);
    list.Remove(links[4]);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(list.Count(), 2u);
    list.Append(MakeItem(5));
    EXPECT_EQ(Values(list), (std::vector<int>{1, 3, 5}));
    list.Remove(links[1]);
    list.Remove(links[3]);
    list.Remove(list.Find(list.ToArray().front()));
    EXPECT_TRUE(list.Empty());
    list.Append(MakeItem(6));
    EXPECT_EQ(Values(list), (std::vector<int>{6}));
}

TEST(ListTest, FindAndContainsMatchTheSameObjectOnly) {
    TList<TItem> list;
    auto a = MakeItem(1);
    auto b = MakeItem(1);
    list.Append(a);
    EXPECT_TRUE(list.Contains(a));
    EXPECT_FALSE(list.Contains(b));
    EXPECT_FALSE(list.Find(b));
    EXPECT_FALSE(list.Contains(nullptr));
    list.Remove(list.Find(a));
    EXPECT_FALSE(list.Contains(a));
}

TEST(ListTest, StaleForeignAndEmptyLinksAreIgnored) {
    TList<TItem> list;
    TList<TItem> other;
    const TLink first = list.Append(MakeItem(1));
    const TLink foreign = other.Append(MakeItem(2));
    list.Append(MakeItem(3));

    list.Remove(foreign);
    list.Remove(TLink());
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(other.Count(), 1u);

    list.Remove(first);
    EXPECT_FALSE(first.Valid());
    list.Remove(first);
    EXPECT_EQ(Values(list), (std::vector<int>{3}));
}

TEST(ListTest, LinkOutlivesItsListAndReleasesTheElement) {
    auto item = MakeItem(1);
    TLink link;
    {
        auto list = std::make_shared<TList<TItem>>();
        link = list->Append(item);
        EXPECT_EQ(item.use_count(), 2);
    }
    EXPECT_FALSE(link.Valid());
    EXPECT_EQ(item.use_count(), 1);
    TList<TItem> fresh;
    fresh.Append(MakeItem(2));
    fresh.Remove(link);
    EXPECT_EQ(fresh.Count(), 1u);
}

TEST(ListTest, CopyToReusesStorage) {
    TList<TItem> list;
    for (int i = 0; i < 8; ++i) {
        list.Append(MakeItem(i));
    }
    std::vector<std::shared_ptr<TItem>> out;
    list.CopyTo(out);
    const auto* storage = out.data();
    list.Remove(list.Find(out[3]));
    list.CopyTo(out);
    EXPECT_EQ(out.data(), storage);
    ASSERT_EQ(out.size(), 7u);
    EXPECT_EQ(out[3]->value, 4);
}

TEST(ListTest, RemovingVisitedElementsThroughACopyVisitsAll) {
    TList<TItem> list;
    for (int i = 0; i < 4; ++i) {
        list.Append(MakeItem(i));
    }
    int visited = 0;
    for (const auto& item : list.ToArray()) {
        list.Remove(list.Find(item));
        ++visited;
    }
    EXPECT_EQ(visited, 4);
    EXPECT_TRUE(list.Empty());
}

TEST(ListTest, ElementReleaseMayChangeTheSameList) {
    TList<TItem> list;
    auto keep = MakeItem(9);
    TLink keepLink;
    {
        auto releasing = MakeItem(1);
        releasing->onRelease = [&] { list.Remove(keepLink); };
        list.Append(std::move(releasing));
    }
    keepLink = list.Append(keep);
    list.Append(MakeItem(2));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(keep.use_count(), 1);

    TLink selfLink;
    auto releasing = MakeItem(3);
    releasing->onRelease = [&] { list.Append(MakeItem(4)); };
    selfLink = list.Append(std::move(releasing));
    list.Remove(selfLink);
    EXPECT_EQ(Values(list), (std::vector<int>{4}));
}

TEST(ListTest, LongListIsReleasedWithoutDeepRecursion) {
    auto list = std::make_unique<TList<TItem>>();
    for (int i = 0; i < 200000; ++i) {
        list->Append(MakeItem(i));
    }
    EXPECT_EQ(list->Count(), 200000u);
    list.reset();
}
