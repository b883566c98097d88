// Listener registries: name order, first registration wins, a false result stops the walk.
#include "ListenerRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Listener
{
    std::string tag;
    bool result = true;
    std::vector<std::string>* log = nullptr;
    bool onEvent(const std::string& event)
    {
        log->push_back(tag + ":" + event);
        return result;
    }
};

std::vector<std::string> deliver(const ListenerRegistry<Listener>& registry, const std::string& event)
{
    std::vector<std::string> seen;
    registry.fanOut([&](Listener* l) {
        seen.push_back(l->tag);
        return l->onEvent(event);
    });
    return seen;
}
}

TEST(ListenerRegistryTest, NameOrderNotRegistrationOrder)
{
    std::vector<std::string> log;
    Listener game{"game", true, &log}, mapper{"mapper", true, &log};
    ListenerRegistry<Listener> registry;
    registry.add("KeyListener", &game);
    registry.add("ActionMapper", &mapper);  // registered later, sorts first
    EXPECT_EQ((std::vector<std::string>{"mapper", "game"}), deliver(registry, "press"));

    Listener lower{"lower", true, &log};
    registry.add("actionMapper", &lower);  // byte order: lower-case after upper-case
    EXPECT_EQ((std::vector<std::string>{"mapper", "game", "lower"}), deliver(registry, "press"));
}

TEST(ListenerRegistryTest, FalseStopsTheWalkForThatEventOnly)
{
    std::vector<std::string> log;
    Listener first{"first", false, &log}, second{"second", true, &log};
    ListenerRegistry<Listener> registry;
    registry.add("a", &first);
    registry.add("b", &second);
    EXPECT_EQ((std::vector<std::string>{"first"}), deliver(registry, "press"));
    first.result = true;
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), deliver(registry, "release"));
}

TEST(ListenerRegistryTest, AddAndRemove)
{
    std::vector<std::string> log;
    Listener one{"one", true, &log}, two{"two", true, &log};
    ListenerRegistry<Listener> registry;
    registry.add("x", &one);
    registry.add("x", &two);
    EXPECT_EQ((std::vector<std::string>{"one"}), deliver(registry, "e")) << "the first registration stays";

    registry.add("b", &two);
    registry.add("a", &two);
    registry.remove(&two);
    EXPECT_EQ((std::vector<std::string>{"two", "one"}), deliver(registry, "e"))
        << "removing by pointer takes only the entry that sorts first";
    registry.remove(std::string("b"));
    registry.remove(std::string("missing"));
    EXPECT_EQ((std::vector<std::string>{"one"}), deliver(registry, "e"));
    registry.clear();
    EXPECT_EQ(0u, registry.size());
}
