#include "chartwin/ViewList.h"

#include <algorithm>

namespace chartwin
{

namespace
{

std::vector<TMDIChild*>& List()
{
    static std::vector<TMDIChild*> views;
    return views;
}

} // namespace

int ViewCount()
{
    return static_cast<int>(List().size());
}

TMDIChild* View(int index)
{
    if (index < 0 || index >= ViewCount())
        return nullptr;
    return List()[static_cast<std::size_t>(index)];
}

std::vector<TMDIChild*> Views()
{
    return List();
}

void AddView(TMDIChild* view)
{
    RemoveView(view);
    List().insert(List().begin(), view);
}

void MakeActiveView(TMDIChild* view)
{
    auto& views = List();
    const auto found = std::find(views.begin(), views.end(), view);
    if (found != views.end())
        std::rotate(views.begin(), found, found + 1);
}

bool RemoveView(TMDIChild* view)
{
    auto& views = List();
    const auto found = std::find(views.begin(), views.end(), view);
    if (found == views.end())
        return false;
    views.erase(found);
    return true;
}

} // namespace chartwin
