#pragma once
// The serial link's message table: numbered texts, sorted by the magnitude of
// their code, each magnitude once. It carries the texts this program can show
// (error codes of the link, runtime I/O errors) and the names the dispatch
// log prints (event types 15001 + type, subtypes 15100 + subtype, modem
// status bits 15601 + bit); the link's components for modems, fax, telephony
// and file transfer are not part of this program and their texts are absent.

#include <cstdint>
#include <span>

namespace serial
{

struct TMessageEntry {
    int32_t Code;
    const char* Text;
};

std::span<const TMessageEntry> MessageTable();

} // namespace serial
