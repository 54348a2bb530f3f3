// What the listener tells the rest of the plug-in about its port: the port
// it listens on, and a port that the settings name but that cannot be bound
// yet, with the error. The listener thread writes it; the caller-ID window
// reads it to tell the user, and asks the listener to re-read the settings.
#pragma once

#include <cstddef>
#include <cstdint>

struct ListenerPorts {
    bool listening;         // a socket holds listeningPort
    int32_t listeningPort;
    int32_t wantedPort;     // the port waited for, when bindError is not 0
    int bindError;          // the last failed bind's error, 0 when nothing is waited for
};

// The listener thread's side.
void PublishListenerPorts(const ListenerPorts& ports);
// The start's socket could not be made (error), or was (0): with none, no
// listener runs until the host starts the plug-in again.
void PublishNoSocket(int error);
// Takes the request for a restart, if one was made since the last call.
bool TakeRestartRequest();

// A consistent copy of what the listener published last.
ListenerPorts ReadListenerPorts();

// Asks this station's own listener to re-read the settings and listen
// again, after the pause that a "restart" would make: the window's own
// broadcast goes to the new port, which the listener may not hold yet.
void UDPRequestRestart();

// The warning for the user when the start made no socket or a port of the
// settings cannot be bound: the station hears no calls at all, or still
// hears them on its old port. False, and text empty, when the listener
// holds the port of its settings.
bool UDPPortWarning(char* text, std::size_t size);
