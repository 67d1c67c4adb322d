#pragma once

#include "library/error/NvException.h"
#include "library/error/SingleThreadedModel.h"
#include "library/framework/CString.h"

#include <fstream>

namespace Error
{
// A log file of time-stamped lines. Lines are appended and flushed one by
// one; once the stream has failed (open or write) nothing more is written for
// the life of the object. No operation throws or reports a failure.
template <typename ThreadModel> class NvLogFileT
{
public:
    NvLogFileT() = default;
    NvLogFileT(const NvLogFileT&) = delete;
    NvLogFileT& operator=(const NvLogFileT&) = delete;
    virtual ~NvLogFileT() { Close(); }

    // Opens the log for appending (emptied when `truncate`), writing the header
    // into an empty file. True when the file is open; an open file is only
    // positioned at its end.
    virtual bool Open(bool truncate)
    {
        if (m_stream.is_open())
        {
            SeekToEnd();
            return true;
        }
        return OpenFile(truncate ? std::ios::out | std::ios::trunc : std::ios::out | std::ios::app, truncate);
    }

    // Flushes and closes a good stream; a failed one is left alone.
    virtual void Close()
    {
        if (!m_stream.good())
            return;
        m_stream.flush();
        m_stream.close();
    }

    virtual CString GetFilePath() const = 0;
    virtual CString GetHeader() const = 0;
    virtual CString GetTimeStamp() const { return CString(); }
    virtual CString GetInfoPrefix() const { return "Info: "; }
    virtual CString GetErrorPrefix() const { return "Error: "; }

    virtual void Info(UINT stringId) { WriteInfoLine(LoadText(stringId)); }
    virtual void Info(LPCSTR text) { WriteInfoLine(CString(text)); }
    virtual void InfoF(UINT formatId, ...)
    {
        va_list args;
        va_start(args, formatId);
        WriteInfoLine(FormatText(LoadText(formatId), args));
        va_end(args);
    }
    virtual void InfoF(LPCSTR format, ...)
    {
        va_list args;
        va_start(args, format);
        WriteInfoLine(FormatText(CString(format), args));
        va_end(args);
    }
    virtual void Error(UINT stringId) { WriteErrorLine(LoadText(stringId)); }
    virtual void Error(LPCSTR text) { WriteErrorLine(CString(text)); }
    virtual void ErrorF(UINT formatId, ...)
    {
        va_list args;
        va_start(args, formatId);
        WriteErrorLine(FormatText(LoadText(formatId), args));
        va_end(args);
    }
    virtual void ErrorF(LPCSTR format, ...)
    {
        va_list args;
        va_start(args, format);
        WriteErrorLine(FormatText(CString(format), args));
        va_end(args);
    }
    // The exception's text, the context (when given) and its source location.
    virtual void Error(const NvException& e, LPCSTR context)
    {
        CString location;
        if (!e.GetModule().IsEmpty())
            location.Format("module: %s, line: %d", e.GetModule().GetString(), e.GetLine());
        CString text = e.GetText();
        if (context != nullptr)
            ErrorF("%s %s %s", text.GetString(), context, location.GetString());
        else
            ErrorF("%s %s", text.GetString(), location.GetString());
    }

    virtual void WriteInfoLine(CString message) { WriteLine(false, message); }
    virtual void WriteErrorLine(CString message) { WriteLine(true, message); }

    // The opening used at start-up: a file above 1 MiB is deleted first.
    bool OpenWithSizeLimit()
    {
        if (m_stream.is_open())
        {
            SeekToEnd();
            return true;
        }
        CString path = GetFilePath();
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) && attributes.nFileSizeLow > MaxFileSize)
        {
            DeleteFileA(path);
        }
        return OpenFile(std::ios::out | std::ios::app, false);
    }

private:
    static constexpr DWORD MaxFileSize = 0x100000;

    static CString LoadText(UINT id)
    {
        CString text;
        text.LoadString(id);
        return text;
    }

    static CString FormatText(const CString& format, va_list args)
    {
        CString text;
        text.FormatV(format, args);
        return text;
    }

    // Text mode (LF becomes CR LF on disk) and deny-none sharing, so that a
    // second running copy can append to the same file.
    bool OpenFile(std::ios::openmode mode, bool alwaysHeader)
    {
        m_stream.open(GetFilePath().GetString(), mode);
        if (!m_stream.is_open())
            m_stream.setstate(std::ios::failbit);
        if (!m_stream.good())
            return false;
        SeekToEnd();
        if (!m_stream.fail() && (alwaysHeader || m_stream.tellp() == std::streampos(0)))
            m_stream << GetHeader().GetString() << '\n';
        m_stream.flush();
        return true;
    }

    void SeekToEnd() { m_stream.seekp(0, std::ios::end); }

    void WriteLine(bool error, CString& message)
    {
        if (!m_stream.good())
            return;
        try
        {
            SeekToEnd();
            message.Remove('\n');
            message.Remove('\r');
            CString prefix = error ? GetErrorPrefix() : GetInfoPrefix();
            m_stream << GetTimeStamp().GetString() << prefix.GetString() << message.GetString() << '\n';
            m_stream.flush();
        }
        catch (...)
        {
        }
    }

    std::ofstream m_stream;
};
} // namespace Error
