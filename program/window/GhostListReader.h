#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Reads the ghost candidates of a profile on a thread of its own, for a
// window's list: when the reading ends, `message` is posted to the window
// with the reading's generation as its wParam. One reading at a time: a new
// one, Stop and the destructor end the one under way at its next section.
class GhostListReader
{
public:
    explicit GhostListReader(UINT message);
    // Stops the reading under way.
    ~GhostListReader();
    GhostListReader(const GhostListReader&) = delete;
    GhostListReader& operator=(const GhostListReader&) = delete;

    // Stops the reading under way, then starts one of profile `profileName`
    // for `window`.
    void Start(HWND window, const std::wstring& profileName);
    // Stops the reading under way, if any, and waits for its thread, which
    // takes at most the reading of one section. A message that it posted
    // already is then refused by Take.
    void Stop();
    // The candidates' display names, each once (GhostFinder::DistinctNames),
    // of the reading whose message carried `generation`. False, with `names`
    // left alone, for any message but that of the last reading started and
    // not stopped: its profile is no longer the one the window shows.
    bool Take(WPARAM generation, std::vector<std::wstring>& names);

private:
    void Read(HWND window, std::wstring profileName, WPARAM generation);

    UINT m_message;
    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    WPARAM m_generation = 0;
    // Written by the thread; read only once it has been joined.
    std::vector<std::wstring> m_names;
};
