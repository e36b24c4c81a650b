// Waiting inside the engine without freezing the windows.
#pragma once

namespace engine {

// Waits ms milliseconds. On the UI thread the windows stay responsive meanwhile (posts, timers
// and window events are served as they arrive); on any other thread it simply sleeps.
void PumpWait(int ms);

}  // namespace engine
