// INI files: named sections of key and value texts. The runtime keeps one global store that
// programs open, read, change and that is written back when another file is opened or the
// program ends; the reader and writer work on any IniFile (the 3D scene loader keeps its own).
// Section names and keys match ignoring ASCII case, and every lookup takes the first match:
// nothing read from a file is merged.
#pragma once

#include "core/dyn_string.h"
#include "core/grow_vector.h"
#include "core/types.h"

struct IniEntry {
  DynString key;
  DynString value;
};

struct IniSection {
  DynString name;                  // as written between the brackets; may be empty
  GrowVector<IniEntry> entries;    // in file order
};

struct IniFile {
  GrowVector<IniSection> sections{16, 8};  // in file order
  DynString name;                          // the file the store writes back to; empty: none
  u8 changed = 0;                          // set by every change, cleared by parsing only
};
extern IniFile iniStore;

// Replaces the store's contents with the file's (resolved through the general context, so a pack
// entry is read as a memory file). A file that cannot be read leaves the store empty.
void ParseIniFile(IniFile* store, const DynString* name);
// Writes the store to its file when it is changed and named ("mem://" names are never written).
void WriteIniFile(IniFile* store);
// Sets, adds or, with an empty value, deletes one entry (the section is added when missing).
void SetIniValue(IniFile* store, const DynString& section, const DynString& key,
                 const DynString& value);
// The value of the first matching key of the first matching section of any store (the global one
// or a loader's own), else "NO_DATA".
DynString GetIniValueFrom(const IniFile* store, const DynString& section, const DynString& key);

// The commands on the global store.
void OpenIniFile(DynString& name);  // writes a changed store back, then parses the file
DynString GetIniValue(DynString& section, DynString& key);
// An empty key deletes the first section of that name; otherwise as SetIniValue.
void PutIniValue(DynString& section, DynString& key, DynString& value);
void DestroyIniFile();              // the exit handler: write back, then release everything
