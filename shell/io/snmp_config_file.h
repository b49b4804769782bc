#pragma once

#include <array>
#include <cstddef>

#include "platform/base/cstring.h"
#include "platform/base/win_types.h"

class CFile;
class CSNMPConfig;

// SNMP configuration files: a 256-byte text header, then blocks of a 16-bit type and a 32-bit
// length (both little-endian) followed by that many bytes. The block of type 1 holds the
// configuration record. Files are written with the extension "kvn"; older files with the
// extension "wyx" have the same form.
constexpr std::size_t kSNMPFileHeaderSize = 256;
constexpr WORD kSNMPRecordBlock = 1;

// Reads the first record block of a file into config. markChanged makes every loaded value
// count as a change (in ONLINE mode, so that it can be applied). TRUE on success; FALSE with
// the error text set, and config is then as it was.
BOOL ReadSNMPConfigFile(const CString& path, CSNMPConfig& config, BOOL markChanged, CString& error);
// Writes the header and one record block. clearChanges clears every changed flag of config
// (saving outside ONLINE mode) once the file is written whole. TRUE on success; FALSE with the
// error text set, and config is then as it was.
BOOL WriteSNMPConfigFile(const CString& path, CSNMPConfig& config, BOOL clearChanges,
                         CString& error);

// The same over a file already open; fileName names it in the error texts.
BOOL ReadSNMPConfig(CFile& file, const CString& fileName, CSNMPConfig& config, BOOL markChanged,
                    CString& error);
BOOL WriteSNMPConfig(CFile& file, CSNMPConfig& config, BOOL clearChanges, CString& error);

// The file's header: the text, its end mark, the filler and "-F-EOH".
std::array<BYTE, kSNMPFileHeaderSize> MakeSNMPFileHeader(const CString& productName,
                                                         const CString& productVersion,
                                                         const CString& buildDate);

// The messages of Load and Save around an error text of the functions above.
CString SNMPLoadFailedText(const CString& error);
CString SNMPSaveFailedText(const CString& error);
