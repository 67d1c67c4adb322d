#pragma once

#include "program/console/JsonWriter.h"

#include <string>
#include <vector>

// The fields that more than one command's JSON document has. Every string
// goes out as UTF-8.

void AddString(JsonWriter& json, const char* key, const std::wstring& text);
// An empty text is null: the thing does not exist.
void AddOptional(JsonWriter& json, const char* key, const std::wstring& text);
void AddList(JsonWriter& json, const char* key, const std::vector<std::wstring>& texts);
// Begins the document of a command: its name, the exit code and the error
// (null when empty).
void BeginPlainDocument(JsonWriter& json, const char* command, int exitCode, const std::wstring& error);
// The same, then the profile and the PST names given (null when empty).
void BeginNamedDocument(JsonWriter& json, const char* command, int exitCode, const std::wstring& error,
                        const std::wstring& profile, const std::wstring& pst);
