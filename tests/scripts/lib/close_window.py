#!/usr/bin/env python3
"""Asks an X window to close, as a window manager's close button does (WM_DELETE_WINDOW)."""
import sys

from Xlib import X, display, protocol

screen_display = display.Display()
window = screen_display.create_resource_object("window", int(sys.argv[1], 0))
delete = screen_display.intern_atom("WM_DELETE_WINDOW")
protocols = screen_display.intern_atom("WM_PROTOCOLS")
event = protocol.event.ClientMessage(window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
window.send_event(event, event_mask=X.NoEventMask)
screen_display.flush()
