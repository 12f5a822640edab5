#pragma once

#include <functional>

#include "platform/core/object.h"
#include "platform/graphics/graphics_types.h"

namespace kw {

class TControl;
class TWinControl;

// How a drag of a control starts: by the program (BeginDrag) or by pressing the mouse on it.
enum class TDragMode { dmManual, dmAutomatic };
// What dragging a control does: a plain drag-and-drop, or undocking and docking it elsewhere.
enum class TDragKind { dkDrag, dkDock };
// Where the pointer is, relative to a control, while something is dragged over it.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

// What a drag carries from its source to the control it is dropped on.
class TDragObject : public TObject {
    KW_CLASS(TDragObject)
public:
    TControl* Control = nullptr;  // the control being dragged, when there is one
    TPoint DragPos;               // screen position of the pointer
};

// A drag that docks its control: where it would dock and how it would look there.
class TDragDockObject : public TDragObject {
    KW_CLASS(TDragDockObject)
public:
    TRect DockRect;  // screen rectangle the control would take
    TWinControl* DropOnControl = nullptr;
};

// Event types of dragging and docking, with the platform's arguments.
using TDragDropEvent = std::function<void(TObject* sender, TObject* source, int x, int y)>;
using TDragOverEvent = std::function<void(TObject* sender, TObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TEndDragEvent = std::function<void(TObject* sender, TObject* target, int x, int y)>;
using TStartDragEvent = std::function<void(TObject* sender, TDragObject*& dragObject)>;
using TStartDockEvent = std::function<void(TObject* sender, TDragDockObject*& dragObject)>;
using TDockDropEvent = std::function<void(TObject* sender, TDragDockObject* source, int x, int y)>;
using TDockOverEvent = std::function<void(TObject* sender, TDragDockObject* source, int x, int y,
                                          TDragState state, bool& accept)>;
using TUnDockEvent =
    std::function<void(TObject* sender, TControl* client, TWinControl* newTarget, bool& allow)>;
using TGetSiteInfoEvent = std::function<void(TObject* sender, TControl* dockClient,
                                             TRect& influenceRect, TPoint mousePos, bool& canDock)>;

// The cursor shown while a control is dragged, unless it asks for another.
inline constexpr int crDrag = -12;

}  // namespace kw
