#pragma once

/// What writes cut short by a crash leave in the program folder.
namespace Leftovers {

/// Removes, in the program folder, data/ and bak/, every temporary file of AtomicFile, the hidden copies that card
/// backups of earlier versions left in bak/, and the journals of the three tables that a crash left unfinished (the
/// engine plays back a finished one itself). Nothing else is touched. Run once at start, after the single-instance
/// guard, so no write of a running copy is cut short.
void removeAtStart();

} // namespace Leftovers
