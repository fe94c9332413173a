// The three operations on the laptop's hosted network (the Wi-Fi hotspot that
// Windows runs on the wireless adapter). Each one tells the user its outcome
// itself; the caller learns nothing of it.
#ifndef WIFI_HOTSPOT_HOSTEDNETWORK_H
#define WIFI_HOTSPOT_HOSTEDNETWORK_H

void openWifi();   // starts the hosted network
void closeWifi();  // stops it
void createWifi(); // allows it and sets its name and password

#endif
