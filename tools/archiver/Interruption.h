#pragma once

// Turns SIGINT, SIGTERM and SIGHUP into a request to stop, so an interrupted run still removes its
// work folder instead of leaving half an archive behind.
void watchForInterruption();
bool interruptionRequested();
