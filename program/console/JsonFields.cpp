#include "program/console/JsonFields.h"

#include "library/base/TextConversion.h"

void AddString(JsonWriter& json, const char* key, const std::wstring& text)
{
    json.Key(key).String(WideToUtf8(text));
}

void AddOptional(JsonWriter& json, const char* key, const std::wstring& text)
{
    json.Key(key);
    if (text.empty())
        json.Null();
    else
        json.String(WideToUtf8(text));
}

void AddList(JsonWriter& json, const char* key, const std::vector<std::wstring>& texts)
{
    json.Key(key).BeginArray();
    for (const std::wstring& text : texts)
        json.String(WideToUtf8(text));
    json.EndArray();
}

void BeginPlainDocument(JsonWriter& json, const char* command, int exitCode, const std::wstring& error)
{
    json.BeginObject();
    json.Key("command").String(command);
    json.Key("exitCode").Number(exitCode);
    AddOptional(json, "error", error);
}

void BeginNamedDocument(JsonWriter& json, const char* command, int exitCode, const std::wstring& error,
                        const std::wstring& profile, const std::wstring& pst)
{
    BeginPlainDocument(json, command, exitCode, error);
    AddOptional(json, "profile", profile);
    AddOptional(json, "pst", pst);
}
