// Reads the entry flag that TandorUtl keeps in the shared region
// "dllmemfilemap", the way another process would.
#pragma once

namespace sim {

// The 32-bit word at offset 0 of the region, or -1 when the region does not
// exist. The region is opened, read and closed again at once, so that the
// card never keeps it alive.
int ReadEntryFlag();

}  // namespace sim
