#pragma once
// The program's web site and support mail address: the About box shows them and the Help
// commands open them, so they live here and nowhere else.

namespace pelmora {

/// The program's web site.
inline constexpr char kWebSiteAddress[] = "http://www.quorvel.example/";
/// The support mail address (without "mailto:").
inline constexpr char kSupportMailAddress[] = "support@quorvel.example";

} // namespace pelmora
