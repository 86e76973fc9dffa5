#pragma once
// The open chart views in the order the program addresses them: index 0 is
// the active view, then the others from the most recently active down.
// Qt's MDI area keeps its own orders (creation, stacking, activation
// history), none of which is this one, so the views keep the list
// themselves: a view enters at the front when it is created, moves to the
// front when it is activated and leaves when it is really closed or freed.

#include <vector>

class TMDIChild;

namespace chartwin
{

int ViewCount();
// The view at `index`, nullptr outside 0..ViewCount()-1.
TMDIChild* View(int index);
// A copy of the list, for loops whose views may reorder it (a redraw can
// bring its view to the front).
std::vector<TMDIChild*> Views();

void AddView(TMDIChild* view);
void MakeActiveView(TMDIChild* view);
// False when the view was not in the list.
bool RemoveView(TMDIChild* view);

} // namespace chartwin
