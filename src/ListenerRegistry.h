// Listeners registered by name and called in byte-wise name order; a listener that
// returns false stops the walk for that event. The registry never owns its listeners.
#pragma once

#include <map>
#include <string>

template <typename Listener>
class ListenerRegistry
{
public:
    // A name is registered once: the first registration stays.
    void add(const std::string& name, Listener* listener) { listeners.emplace(name, listener); }

    // Removes the first entry, in name order, that holds the listener.
    void remove(Listener* listener)
    {
        for (auto entry = listeners.begin(); entry != listeners.end(); ++entry)
        {
            if (entry->second == listener)
            {
                listeners.erase(entry);
                return;
            }
        }
    }

    void remove(const std::string& name) { listeners.erase(name); }
    void clear() { listeners.clear(); }
    size_t size() const { return listeners.size(); }

    // Calls each listener in name order until one returns false.
    template <typename Call>
    void fanOut(Call call) const
    {
        for (const auto& entry : listeners)
        {
            if (!call(entry.second))
                return;
        }
    }

private:
    std::map<std::string, Listener*> listeners;
};
