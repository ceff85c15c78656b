// SPDX-License-Identifier: GPL-2.0-or-later
#include <malloc.h>

#include <deque>

#include "toolkit/internal.h"

namespace {

std::deque<ProgramEvent> Queue;  // what GTK's signals posted, oldest first
guint32 QueuedTime = GDK_CURRENT_TIME;

// Keeps a misbehaving source (one that is always ready) from hanging a drain.
constexpr int DrainLimit = 100000;

// Blocks freed after an outsize text (a command's output, a long name) stay
// resident in the heap; the program hands them back before it sleeps, once
// there are megabytes of them.
void HandBackFreedMemory() {
    constexpr size_t Worth = 8 << 20;
    if (mallinfo2().fordblks > Worth) malloc_trim(0);
}

gboolean MarkFired(gpointer data) {
    *static_cast<bool*>(data) = true;
    return FALSE;
}

}  // namespace

void QueueEvent(int kind, int object, int window, int subtype, guint32 time) {
    Queue.push_back(ProgramEvent{kind, object, window, subtype});
    if (time != GDK_CURRENT_TIME) QueuedTime = time;
}

guint32 LastEventTime() {
    return QueuedTime;
}

std::deque<ProgramEvent>& QueuedEvents() {
    return Queue;
}

bool PollEvent(ProgramEvent* event) {
    if (Queue.empty() && ToolkitReady() && gtk_events_pending()) gtk_main_iteration_do(FALSE);
    if (Queue.empty()) return false;
    *event = Queue.front();
    Queue.pop_front();
    return true;
}

void DrainEvents() {
    ProgramEvent dropped;
    for (int i = 0; i < DrainLimit; ++i) {
        if (!PollEvent(&dropped) && !(ToolkitReady() && gtk_events_pending())) break;
    }
}

void DropOneEvent() {
    ProgramEvent dropped;
    PollEvent(&dropped);
}

void WaitForActivity(int ms) {
    if (ms <= 0 || !Queue.empty() || !ToolkitReady() || gtk_events_pending()) return;
    HandBackFreedMemory();
    bool fired = false;
    guint timer = g_timeout_add(static_cast<guint>(ms), MarkFired, &fired);
    gtk_main_iteration_do(TRUE);
    if (!fired) g_source_remove(timer);
}

void ClickPressed(ClickState& state, PressType type, int button) {
    if (type == PressType::Double) {
        state.doubleMark = true;
    } else if (button == 1 || button == 3) {
        state.doubleMark = false;
    }
}

int ClickReleased(ClickState& state, int button) {
    if (button != 1 && button != 3) return -1;
    int subtype;
    if (state.doubleMark) {
        subtype = button == 1 ? LeftDoubleClick : RightDoubleClick;
    } else {
        subtype = button == 1 ? LeftClick : RightClick;
    }
    state.doubleMark = false;
    return subtype;
}
