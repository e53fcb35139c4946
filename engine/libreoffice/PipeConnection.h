#pragma once
// A UNO connection to an office's pipe reached by its path. The office in a
// sandbox makes its pipe in its own private folder, where the usual pipe lookup
// (in this machine's /tmp) would not find it.

#include <com/sun/star/connection/XConnection.hpp>

#include <string>

namespace pelmora {

/// Connects to the office's UNO pipe (a Unix socket) at path; an empty reference
/// while nothing listens there yet.
css::uno::Reference<css::connection::XConnection> ConnectPipe(const std::string& path);

} // namespace pelmora
