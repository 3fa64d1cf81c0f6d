#include "keyTable.h"

const KeyBinding kTandorKeys[kTandorKeyCount] = {
    {0, "Key_0", "0"},
    {1, "Key_1", "1"},
    {2, "Key_2", "2"},
    {3, "Key_3", "3"},
    {4, "Key_4", "4"},
    {5, "Key_5", "5"},
    {6, "Key_6", "6"},
    {7, "Key_7", "7"},
    {8, "Key_8", "8"},
    {9, "Key_9", "9"},
    {10, "Key_100", ""},
    {11, "Key_AirCableTV", ""},
    {12, "Key_AutoScan", ""},
    {13, "Key_Teletext", ""},
    {14, "Key_TeletextPageUp", ""},
    {15, "Key_Source", ""},
    {16, "Key_Mute", ""},
    {17, "Key_FullScreen", ""},
    {18, "Key_Power", "Power"},
    {19, "Key_MTS", ""},
    {20, "Key_Sync", ""},
    {22, "Key_TeletextCC", ""},
    {23, "Key_Recall", "Recall"},
    {24, "Key_PlusMinus", ""},
    {25, "Key_Function", ""},
    {26, "Key_ChannelUp", "ChannelUp"},
    {27, "Key_VolumeUp", "VolumeUp"},
    {29, "Key_TeletextPageDown", ""},
    {30, "Key_ChannelDown", "ChannelDown"},
    {31, "Key_VolumeDown", "VolumeDown"},
};

const KeyBinding* FindKeyBinding(const KeyBinding* table, int count, int code) {
  for (int row = 0; row < count; ++row)
    if (table[row].code == code) return &table[row];
  return nullptr;
}
