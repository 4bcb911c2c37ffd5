// The stand-in drawing host's objects. Each implements one interface of
// drawing-host.idl; the tree of documents, pages, shapes and cells owns its
// children through counted references and points back to its parents with
// plain pointers, which detach() clears when an object is deleted or the
// host shuts down (a client may still hold the object; it then answers
// DrawHostObjectDeleted).
#ifndef PLATFORM_DRAWING_HOST_HOST_OBJECTS_H
#define PLATFORM_DRAWING_HOST_HOST_OBJECTS_H

#include "platform/drawing-host/win32/host-codes.h"
#include "platform/drawing-host/win32/host-event.h"
#include "platform/drawing-host/win32/host-event-list.h"
#include "platform/drawing-host/win32/host-cell.h"
#include "platform/drawing-host/win32/host-connect.h"
#include "platform/drawing-host/win32/host-connects.h"
#include "platform/drawing-host/win32/host-shape-list.h"
#include "platform/drawing-host/win32/host-selection.h"
#include "platform/drawing-host/win32/host-master.h"
#include "platform/drawing-host/win32/host-master-list.h"
#include "platform/drawing-host/win32/host-shape.h"
#include "platform/drawing-host/win32/host-page.h"
#include "platform/drawing-host/win32/host-page-list.h"
#include "platform/drawing-host/win32/host-document.h"
#include "platform/drawing-host/win32/host-document-list.h"
#include "platform/drawing-host/win32/host-application.h"

#endif
