// The store behind the physics' paged shapes and actors: one entry per name, cells listing
// theirs in the order they came, removal leaving the neighbours in place.
#include "physic/PagedNamedStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Store = PagedNamedStore<int>;

std::vector<std::string> namesIn(const Store& store, unsigned cell)
{
    std::vector<std::string> names;
    for (const Store::Entry* entry : store.inCell(cell))
        names.push_back(entry->first);
    return names;
}
}

TEST(PagedNamedStore, AFirstRegistrationStaysAndCellsKeepTheirOrder)
{
    Store store;
    EXPECT_TRUE(store.add("oak", 1, Ogre::Vector3(1, 0, 1), 5u));
    EXPECT_TRUE(store.add("ash", 2, Ogre::Vector3(2, 0, 2), 5u));
    EXPECT_TRUE(store.add("elm", 3, Ogre::Vector3(3, 0, 3), 9u));
    EXPECT_FALSE(store.add("oak", 4, Ogre::Vector3(4, 0, 4), 9u)) << "a stored name is ignored";
    EXPECT_TRUE(store.add("far", 5, Ogre::Vector3(-1, 0, -1), std::nullopt)) << "outside the grid: kept, in no cell";

    EXPECT_EQ(store.size(), 4u);
    EXPECT_EQ(namesIn(store, 5), (std::vector<std::string>{"oak", "ash"}));
    EXPECT_EQ(namesIn(store, 9), (std::vector<std::string>{"elm"}));
    EXPECT_TRUE(store.inCell(7).empty());
    const Store::Stored& oak = store.inCell(5).front()->second;
    EXPECT_EQ(oak.description, 1);
    EXPECT_EQ(oak.position, Ogre::Vector3(1, 0, 1));
}

TEST(PagedNamedStore, RemovalTakesOnlyTheNamedEntry)
{
    Store store;
    for (const char* name : {"a", "b", "c"})
        store.add(name, 0, Ogre::Vector3::ZERO, 2u);
    store.add("outside", 0, Ogre::Vector3::ZERO, std::nullopt);

    EXPECT_TRUE(store.remove("b"));
    EXPECT_EQ(namesIn(store, 2), (std::vector<std::string>{"a", "c"}));
    EXPECT_FALSE(store.remove("b")) << "already gone";
    EXPECT_FALSE(store.remove("never stored"));
    EXPECT_TRUE(store.remove("outside"));
    EXPECT_TRUE(store.add("b", 7, Ogre::Vector3::ZERO, 2u)) << "a removed name can come back";
    EXPECT_EQ(namesIn(store, 2), (std::vector<std::string>{"a", "c", "b"}));

    store.remove("a");
    store.remove("c");
    store.remove("b");
    EXPECT_TRUE(store.inCell(2).empty());
    EXPECT_EQ(store.size(), 0u);

    store.add("d", 0, Ogre::Vector3::ZERO, 3u);
    store.clear();
    EXPECT_TRUE(store.inCell(3).empty());
    EXPECT_EQ(store.size(), 0u);
}
