// Named descriptions sorted into the cells of the physics' paged grid. A race stores one per
// tree (tens of thousands), so each name is kept once: the cells list their entries by
// pointer, in the order they were added.
#pragma once

#include <OGRE/OgreVector.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

template <typename Description>
class PagedNamedStore
{
public:
    struct Stored
    {
        Description description;
        Ogre::Vector3 position;
        std::optional<unsigned> cell;  // none for a position outside the grid
    };
    using Entry = std::pair<const std::string, Stored>;

    // False, nothing changed, when the name is already stored.
    bool add(const std::string& name, Description description, const Ogre::Vector3& position,
             std::optional<unsigned> cell)
    {
        const auto [where, added] = byName.try_emplace(name, Stored{std::move(description), position, cell});
        if (added && cell)
            byCell[*cell].push_back(&*where);
        return added;
    }

    // False when the name is not stored.
    bool remove(const std::string& name)
    {
        const auto found = byName.find(name);
        if (found == byName.end())
            return false;
        if (const std::optional<unsigned> cell = found->second.cell)
        {
            std::vector<const Entry*>& entries = byCell[*cell];
            entries.erase(std::find(entries.begin(), entries.end(), &*found));
            if (entries.empty())
                byCell.erase(*cell);
        }
        byName.erase(found);
        return true;
    }

    // The cell's entries in the order they were added; empty for a cell with none.
    const std::vector<const Entry*>& inCell(unsigned cell) const
    {
        static const std::vector<const Entry*> kNone;
        const auto found = byCell.find(cell);
        return found == byCell.end() ? kNone : found->second;
    }

    void clear()
    {
        byCell.clear();
        byName.clear();
    }

    std::size_t size() const { return byName.size(); }

private:
    std::map<std::string, Stored> byName;  // nodes stay put: the cells point at them
    std::unordered_map<unsigned, std::vector<const Entry*>> byCell;
};
