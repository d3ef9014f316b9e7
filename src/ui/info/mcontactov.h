#pragma once

#include <QString>

namespace tallivo::MContactOV {

// Returns the host name of the maker's web site, fixed when the program is built.
QString WebHost();

// Returns the web site's address: "http://" and the host, with no path.
QString WebAddress();

// Opens the maker's web site with the user's default handler; the outcome is not examined.
void OpenWebSite();

} // namespace tallivo::MContactOV
