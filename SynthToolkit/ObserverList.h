// The registries of the framework: registration order kept, duplicates allowed, entries not
// owned. Storage grows only when something registers, which happens while an instance is built
// or torn down, never while audio runs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace SynthToolkit {

template <typename T>
class ObserverList {
public:
    void add(T* entry) { entries.push_back(entry); }
    // Every entry equal to the one given goes; one that was never added changes nothing.
    void removeAll(const T* entry) {
        entries.erase(std::remove(entries.begin(), entries.end(), entry), entries.end());
    }
    bool contains(const T* entry) const {
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }
    std::size_t size() const { return entries.size(); }
    T* at(std::size_t i) const { return entries[i]; }
    bool empty() const { return entries.empty(); }
    void clear() { entries.clear(); }

    // Front to back. The walk is by index, so an observer that (against the rules) changes the
    // list while it is called cannot make it read freed storage.
    template <typename Call>
    void forEach(Call&& call) const {
        for (std::size_t i = 0; i < entries.size(); ++i) call(entries[i]);
    }

private:
    std::vector<T*> entries;
};

}  // namespace SynthToolkit
