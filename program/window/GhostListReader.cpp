#include "program/window/GhostListReader.h"

#include "program/core/GhostFinder.h"
#include "program/core/TargetUser.h"

#include <utility>

GhostListReader::GhostListReader(UINT message) : m_message(message)
{
}

GhostListReader::~GhostListReader()
{
    Stop();
}

void GhostListReader::Start(HWND window, const std::wstring& profileName)
{
    Stop();
    m_cancel = false;
    m_names.clear();
    // The thread gets a copy of the name: nothing it reads is shared.
    m_thread = std::thread(&GhostListReader::Read, this, window, profileName, m_generation);
}

void GhostListReader::Stop()
{
    // The generation changes whether or not a reading runs: a message still
    // queued belongs to a reading that is no longer wanted.
    ++m_generation;
    if (!m_thread.joinable())
        return;
    m_cancel = true;
    m_thread.join();
}

bool GhostListReader::Take(WPARAM generation, std::vector<std::wstring>& names)
{
    if (generation != m_generation || !m_thread.joinable())
        return false;
    // The message is posted last: the thread is ending, and joining it makes
    // what it wrote visible here.
    m_thread.join();
    names = std::move(m_names);
    m_names.clear();
    return true;
}

void GhostListReader::Read(HWND window, std::wstring profileName, WPARAM generation)
{
    std::vector<std::wstring> names;
    // Nothing may leave a thread's function. A profile that cannot be read
    // offers nothing; Check and Repair! tell the user why.
    try
    {
        names = GhostFinder::DistinctNames(GhostFinder::Find(TargetUser::Root(), profileName, &m_cancel).candidates);
    }
    catch (...)
    {
        names.clear();
    }
    m_names = std::move(names);
    PostMessageA(window, m_message, generation, 0);
}
