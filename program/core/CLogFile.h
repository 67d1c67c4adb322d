#pragma once

#include "library/error/NvLogFileT.h"

#include <ctime>

// The program's one log: "Log.txt" in the product folder.
class CLogFile : public Error::NvLogFileT<Error::SingleThreadedModel>
{
public:
    static CLogFile& Instance();

    // The product folder joined with "Log.txt" (bare "Log.txt" without one).
    CString GetFilePath() const override;
    // Dashed lines around the product name and the executable's file version.
    CString GetHeader() const override;
    // Local time as "%Y.%m.%d %H:%M:%S "; empty when it cannot be had.
    CString GetTimeStamp() const override;
    CString GetLockGivenUpText() const override;
    CString GetLockRefusedText() const override;

private:
    CLogFile() = default;

    // The stamp of the second last asked for, formatted once per second.
    mutable __time64_t m_stampTime = -1;
    mutable CString m_stamp;
};
