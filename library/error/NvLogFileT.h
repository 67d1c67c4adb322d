#pragma once

#include "library/error/NvAppendFile.h"
#include "library/error/NvException.h"
#include "library/error/SingleThreadedModel.h"
#include "library/base/CString.h"

#include <string>

namespace Error
{
// A log file of time-stamped lines with CR LF line ends. Each line is written
// at once, in one append that other running copies appending to the same file
// cannot break. When another copy held the file's lock too long, the line
// that waited is followed by one error line saying that lines are written
// without the lock from then on. Once the file has failed (open or write)
// nothing more is written for the life of the object. No operation throws or
// reports a failure.
template <typename ThreadModel> class NvLogFileT
{
public:
    NvLogFileT() = default;
    NvLogFileT(const NvLogFileT&) = delete;
    NvLogFileT& operator=(const NvLogFileT&) = delete;
    virtual ~NvLogFileT() { Close(); }

    // Opens the log for appending (emptied when `truncate`), writing the header
    // into an empty file. True when the file is open; an open file is left as
    // it is.
    virtual bool Open(bool truncate)
    {
        if (m_file.IsOpen())
            return true;
        return OpenFile(truncate);
    }

    // Closes a good file; a failed one is left alone.
    virtual void Close()
    {
        if (m_failed)
            return;
        m_file.Close();
    }

    virtual CString GetFilePath() const = 0;
    virtual CString GetHeader() const = 0;
    // The line written once the lock of the file was given up.
    virtual CString GetLockGivenUpText() const = 0;
    // The line written once when the lock of the file is another user's.
    virtual CString GetLockRefusedText() const = 0;
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
        if (m_file.IsOpen())
            return true;
        CString path = GetFilePath();
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) && attributes.nFileSizeLow > MaxFileSize)
        {
            DeleteFileA(path);
        }
        return OpenFile(false);
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

    // Text as a file opened in text mode holds it: each LF becomes CR LF.
    static void AppendText(std::string& bytes, const CString& text)
    {
        for (LPCSTR ch = text.GetString(); *ch != '\0'; ++ch)
        {
            if (*ch == '\n')
                bytes += '\r';
            bytes += *ch;
        }
    }

    // A truncated file always gets the header, an appended one only when it is
    // empty.
    bool OpenFile(bool truncate)
    {
        m_toldLockGivenUp = false;
        m_toldLockRefused = false;
        m_failed = !m_file.Open(GetFilePath(), truncate);
        if (m_failed)
            return false;
        std::string header;
        AppendText(header, GetHeader());
        header += "\r\n";
        m_failed = !(truncate ? m_file.Append(header) : m_file.AppendIfEmpty(header));
        return true;
    }

    void WriteLine(bool error, CString& message)
    {
        if (m_failed || !m_file.IsOpen())
            return;
        try
        {
            message.Remove('\n');
            message.Remove('\r');
            CString prefix = error ? GetErrorPrefix() : GetInfoPrefix();
            std::string line;
            line.reserve(64 + static_cast<size_t>(message.GetLength()));
            AppendText(line, GetTimeStamp());
            AppendText(line, prefix);
            line += message.GetString();
            line += "\r\n";
            m_failed = !m_file.Append(line);
            if (!m_failed && m_file.IsLockGivenUp() && !m_toldLockGivenUp)
            {
                m_toldLockGivenUp = true;
                WriteErrorLine(GetLockGivenUpText());
            }
            if (!m_failed && m_file.IsLockRefused() && !m_toldLockRefused)
            {
                m_toldLockRefused = true;
                WriteErrorLine(GetLockRefusedText());
            }
        }
        catch (...)
        {
        }
    }

    NvAppendFile m_file;
    bool m_failed = false;
    bool m_toldLockGivenUp = false;
    bool m_toldLockRefused = false;
};
} // namespace Error
