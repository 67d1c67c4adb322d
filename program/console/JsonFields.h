#pragma once

#include "library/base/CString.h"
#include "program/console/JsonWriter.h"

#include <string>
#include <vector>

// The fields that more than one command's JSON document has. Narrow text is
// in the ANSI code page; every string goes out as UTF-8.

void AddString(JsonWriter& json, const char* key, const CString& text);
// An empty text is null: the thing does not exist.
void AddOptional(JsonWriter& json, const char* key, const CString& text);
void AddList(JsonWriter& json, const char* key, const std::vector<CString>& texts);
// An empty text is null, as with AddOptional.
void AddWide(JsonWriter& json, const char* key, const std::wstring& text);
void AddWideList(JsonWriter& json, const char* key, const std::vector<std::wstring>& texts);
// Begins the document of a command: its name, the exit code and the error
// (null when empty).
void BeginPlainDocument(JsonWriter& json, const char* command, int exitCode, const CString& error);
// The same, then the profile and the PST names given (null when empty).
void BeginNamedDocument(JsonWriter& json, const char* command, int exitCode, const CString& error,
                        const CString& profile, const CString& pst);
