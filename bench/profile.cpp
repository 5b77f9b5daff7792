#include "profile.h"

std::optional<Profile> profileNamed(const QString &name)
{
    if (name == QLatin1String("full"))
        return Profile{name, 5, 3000, 5, 1000, 10, 2000, 60, 60, 20, 5000, 10000, 100, 200};
    if (name == QLatin1String("quick"))
        return Profile{name, 2, 3000, 2, 1000, 4, 2000, 10, 10, 20, 2000, 10000, 40, 50};
    if (name == QLatin1String("smoke"))
        return Profile{name, 1, 200, 1, 20, 1, 200, 1, 1, 3, 100, 100, 3, 3};
    return std::nullopt;
}
