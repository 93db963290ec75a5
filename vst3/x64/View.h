// The editor's panel as a VST3 view: a thin IPlugView over the AEffEditor the VST 2.x plug-in
// shows, which the controller side owns.
#pragma once

#include "vst/AEffEditor.h"
#include "vst3/Vst3Interface.h"

namespace QuellinCorvane::Vst3Plugin {

// Who made the view. The view holds a reference to owner's object from creation to
// destruction and says when it is gone, so the owner can hand out the next one.
class ViewOwner {
public:
    virtual Vst3::FUnknown* Object() = 0;
    virtual void OnViewDestroyed() = 0;

protected:
    ~ViewOwner() = default;
};

// A view of the editor, with one reference for the caller. The editor must outlive it.
Vst3::IPlugView* CreateView(AEffEditor* editor, ViewOwner* owner);

}  // namespace QuellinCorvane::Vst3Plugin
