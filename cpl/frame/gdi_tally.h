// A tally of the GDI objects that the control panel's pages create and
// delete, so that a test can tell that opening and closing the sheet leaves
// nothing behind (the platform's own object counts are not available
// everywhere).
#pragma once

#include <windows.h>

namespace zentra {

// Counts `object` as alive when it is not null; returns it.
template <typename T>
T gdiTallied(T object);

// Deletes `object` when it is set, counts it gone and nulls it.
template <typename T>
void gdiDelete(T& object);

// Objects created through gdiTallied and not yet deleted.
LONG liveGdiObjects();

// Implementation.
void gdiCountCreated();
void gdiCountDeleted();

template <typename T>
T gdiTallied(T object) {
    if (object) gdiCountCreated();
    return object;
}

template <typename T>
void gdiDelete(T& object) {
    if (!object) return;
    if (DeleteObject(object)) gdiCountDeleted();
    object = nullptr;
}

}  // namespace zentra
