#pragma once
// Case-insensitive name lookup for catalogues whose names may repeat: the item most recently added or
// given a name wins. Names are UTF-8; only ASCII letters are folded, so other text must match exactly.

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorlanex {

inline std::string FoldName(const std::string& name)
{
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return folded;
}

template <class Item>
class NameIndex
{
public:
    void Add(Item* item, const std::string& name) { chains[FoldName(name)].push_back(item); }

    void Remove(Item* item, const std::string& name)
    {
        const auto it = chains.find(FoldName(name));
        if (it == chains.end())
            return;
        std::erase(it->second, item);
        if (it->second.empty())
            chains.erase(it);
    }

    void Rename(Item* item, const std::string& oldName, const std::string& newName)
    {
        Remove(item, oldName);
        Add(item, newName);
    }

    // The latest item filed under this name, or null.
    Item* Find(const std::string& name) const
    {
        const auto it = chains.find(FoldName(name));
        return it == chains.end() ? nullptr : it->second.back();
    }

    void Clear() { chains.clear(); }

private:
    std::unordered_map<std::string, std::vector<Item*>> chains;   // oldest first
};

}  // namespace vorlanex
