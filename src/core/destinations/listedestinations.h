#pragma once

#include "core/app/listeobjets.h"

#include <QString>

#include <memory>

class TDestination;

// The open destinations by title. They are shared: a destination closed while something else
// (the search, a shown tile, a window) still holds it is freed only when the last holder lets go,
// so nothing is ever used after being freed.
using TListeDestinations = TListeObjets<QString, TDestination, std::shared_ptr<TDestination>>;
