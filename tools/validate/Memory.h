// The process's resident memory, for checks that a long run stays flat.
#pragma once

namespace Validate {

// Bytes in memory now; 0 where the platform does not say.
long ResidentBytes();

}  // namespace Validate
