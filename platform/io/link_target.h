#pragma once

#include "platform/base/cstring.h"

// The file that a path names once the symbolic links at its end are followed, a relative link
// from the link's folder; the path itself when it is no link. A link that names nothing yet
// gives the path it names. False, with errno set, for a loop of links or a link that cannot
// be read.
bool FollowLinks(const CString& path, CString& target);
