// INI parsing, lookup, changes and write-back.
//
// The grammar is deliberately loose: comments only at the start of a line; "[" starts a header
// whose name runs to the first blank or "="; "key = value" lines with the value's trailing control
// bytes cut; anything else is ignored.
#include "files/ini_store.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/runtime_globals.h"
#include "files/ascii_case.h"
#include "files/file_channel.h"
#include "files/file_open.h"
#include "files/file_resolver.h"
#include "files/memory_name.h"

namespace {

// The longest line read at once; a longer one goes on as the next line.
constexpr int kIniLineBytes = 1024;

bool IsBlank(char c) { return c == '\t' || c == ' ' || c == '\r' || c == '\n'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

const char* TokenEnd(const char* p) {
  while (*p != '\0' && !IsBlank(*p) && *p != '=') ++p;
  return p;
}

DynString TextOf(const char* begin, const char* end) {
  return DynString::FromBytes(begin, static_cast<u32>(end - begin));
}

std::string_view View(const DynString& text) { return {text.CStr(), text.Length()}; }

void ParseHeader(const char* p, IniSection& working, IniFile& store) {
  if (working.entries.Count() > 0) {
    store.sections.Append(working);
    working.entries.Clear();
  }
  p = SkipBlanks(p + 1);
  const char* end = TokenEnd(p);
  if (end > p && end[-1] == ']') --end;
  // An empty header keeps the name of the section before it.
  if (end > p) working.name = TextOf(p, end);
}

void ParseEntry(const char* p, IniSection& working) {
  const char* keyEnd = TokenEnd(p);
  if (*keyEnd == '\0') return;
  const char* q = SkipBlanks(keyEnd);
  if (*q != '=') return;
  q = SkipBlanks(q + 1);
  if (*q == '\0') return;
  const char* valueEnd = q + std::strlen(q);
  while (valueEnd > q && static_cast<unsigned char>(valueEnd[-1]) < 32) --valueEnd;
  // Control bytes alone make no value, like an empty rest: the entry could not be written back.
  if (valueEnd == q) return;
  working.entries.Append(IniEntry{TextOf(p, keyEnd), TextOf(q, valueEnd)});
}

void ParseLines(FileChannel& channel, IniFile& store) {
  IniSection working;
  char line[kIniLineBytes + 1];
  while (ReadFileChannelLine(&channel, line, sizeof line)) {
    const char* p = SkipBlanks(line);
    if (*p == '\0' || *p == ';') continue;
    if (*p == '[') {
      ParseHeader(p, working, store);
    } else {
      ParseEntry(p, working);
    }
  }
  if (working.entries.Count() > 0) store.sections.Append(working);
}

i32 FindSection(const IniFile& store, const DynString& name) {
  for (i32 i = 0; i < store.sections.Count(); ++i) {
    if (EqualsIgnoringAsciiCase(View(store.sections[i].name), View(name))) return i;
  }
  return -1;
}

i32 FindEntry(const IniSection& section, const DynString& key) {
  for (i32 i = 0; i < section.entries.Count(); ++i) {
    if (EqualsIgnoringAsciiCase(View(section.entries[i].key), View(key))) return i;
  }
  return -1;
}

bool WriteLine(std::FILE* fp, std::string_view a, std::string_view b, std::string_view c) {
  bool ok = true;
  for (std::string_view part : {a, b, c, std::string_view("\r\n")}) {
    ok = ok && std::fwrite(part.data(), 1, part.size(), fp) == part.size();
  }
  return ok;
}

bool WriteSections(const IniFile& store, std::FILE* fp) {
  bool ok = true;
  for (const IniSection& section : store.sections) {
    ok = ok && WriteLine(fp, "[", View(section.name), "]");
    for (const IniEntry& entry : section.entries) {
      ok = ok && WriteLine(fp, View(entry.key), "=", View(entry.value));
    }
  }
  return ok;
}

}  // namespace

void ParseIniFile(IniFile* store, const DynString* name) {
  store->changed = 0;
  store->name.Reset();
  store->sections.Free();
  if (name == nullptr || name->Length() >= kResolvedPathSize) return;

  char path[kResolvedPathSize];
  if (!ResolveFile(generalResolver, name->CStr(), path, true)) {
    // A file that does not exist yet keeps its name, so the store can create it.
    store->name = *name;
    return;
  }
  store->name = DynString(path);
  FileChannel channel;
  if (!OpenFileChannelRead(&channel, path)) return;
  ParseLines(channel, *store);
  CloseFileChannel(&channel);
}

void WriteIniFile(IniFile* store) {
  if (!store->changed || store->name.Length() == 0 || IsMemoryName(store->name.CStr())) return;
  std::FILE* fp = CreateFileForWriting(store->name.CStr());
  if (fp == nullptr) return;
  const bool written = WriteSections(*store, fp);
  if (std::fclose(fp) != 0 || !written) {
    std::printf("can't write to file: %s\n", store->name.CStr());
  }
}

void SetIniValue(IniFile* store, const DynString& section, const DynString& key,
                 const DynString& value) {
  i32 index = FindSection(*store, section);
  if (index < 0) {
    IniSection added;
    added.name = section;
    store->sections.Append(added);
    index = store->sections.Count() - 1;
  }
  IniSection* target = &store->sections[index];
  store->changed = 1;
  const i32 found = FindEntry(*target, key);
  if (found < 0) {
    target->entries.Append(IniEntry{key, value});
  } else if (value.Length() == 0) {
    GrowVector<IniEntry>& entries = target->entries;
    entries[found] = entries[entries.Count() - 1];
    --entries.count;
  } else {
    target->entries[found].value = value;
  }
}

DynString GetIniValueFrom(const IniFile* store, const DynString& section, const DynString& key) {
  const i32 index = FindSection(*store, section);
  if (index >= 0) {
    const IniSection& found = store->sections[index];
    const i32 entry = FindEntry(found, key);
    if (entry >= 0) return found.entries[entry].value;
  }
  return DynString("NO_DATA");
}

void OpenIniFile(DynString& name) {
  WriteIniFile(&iniStore);
  ParseIniFile(&iniStore, &name);
}

DynString GetIniValue(DynString& section, DynString& key) {
  return GetIniValueFrom(&iniStore, section, key);
}

void PutIniValue(DynString& section, DynString& key, DynString& value) {
  if (key.Length() != 0) {
    SetIniValue(&iniStore, section, key, value);
    return;
  }
  const i32 index = FindSection(iniStore, section);
  if (index < 0) return;
  GrowVector<IniSection>& sections = iniStore.sections;
  sections[index] = sections[sections.Count() - 1];
  --sections.count;
  iniStore.changed = 1;
}

void DestroyIniFile() {
  WriteIniFile(&iniStore);
  iniStore.sections.Free();
  iniStore.name.Reset();
  iniStore.changed = 0;
}
