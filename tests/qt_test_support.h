#pragma once

/// Routes Qt's messages for a test run under the offscreen platform: the
/// plugin's "This plugin does not support ..." notes are dropped, and any other
/// warning or error fails the test at once, so no window problem goes unseen.
void InstallStrictQtMessageHandler();
