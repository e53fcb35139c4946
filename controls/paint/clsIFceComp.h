#pragma once

namespace pelmora {

/// An empty type with no members: it exists only to be named.
class clsIFceComp {};

} // namespace pelmora
