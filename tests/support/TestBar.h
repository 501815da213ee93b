#pragma once

// The real bar window in a test's own folder: its settings files
// "tramble.*" there, English texts, and no instance locks.
#include "app/frmMain.h"
#include "support/TempDir.h"

#include <memory>

namespace tramble::test {

inline TBarEnvironment BarEnvironment(const TempDir& dir)
{
    TBarEnvironment env;
    env.SettingsBase = dir.file("tramble");
    env.AppDir = dir.path().string();
    env.SystemLanguage = "English";
    return env;
}

// The bar, shown: the start-up load runs as it first shows.
inline std::unique_ptr<TfrmMain> ShowBar(TBarEnvironment env)
{
    auto bar = std::make_unique<TfrmMain>(std::move(env), std::nullopt);
    bar->show();
    return bar;
}

} // namespace tramble::test
