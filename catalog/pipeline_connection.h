#pragma once
// Connects the catalog subsystem to the map and ghost pipeline of the race engine. The program's
// start-up calls it once, before the frame driver is installed.
namespace tarvek {

void connectCatalogToPipeline();

}  // namespace tarvek
