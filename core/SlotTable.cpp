#include "core/SlotTable.h"

namespace trackslots {

const std::array<SlotRow, 19>& windowOrder()
{
    static const std::array<SlotRow, 19> rows{{
        {"Hometown", "Hometown", "Родной город", Column::Right, 33, 12, 16, 1},
        {"Aquatica", "Aquatica", "Акватика", Column::Left, 16, 0, -1, 2},
        {"Atlantic", "Atlantic\u0430", "Атлантика", Column::Left, 33, 1, 16, 1},
        {"Coastal", "Dolphin Cove", "Бухта Дельфинов", Column::Left, 50, 2, 33, 0},
        {"Country", "Country Woods", "Лес", Column::Left, 67, 3, 50, 5},
        {"Empire", "Empire City", "Импайр-Сити", Column::Left, 84, 4, 67, 4},
        {"France", "Route Adonf", "Дорога Адонф", Column::Left, 101, 5, 84, 3},
        {"Germany", "Landstrasse", "Ландштрассе", Column::Left, 118, 6, 102, 8},
        {"Gt1", "Raceway", "Гоночный трек", Column::Left, 135, 7, 119, 7},
        {"Gt2", "Raceway 2", "Гоночный трек 2", Column::Left, 152, 8, 136, 6},
        {"Gt3", "Raceway 3", "Гоночный трек 3", Column::Left, 169, 9, 153, 9},
        {"Lostcany", "Lost Canyons", "Потерянный каньон", Column::Right, 50, 10, 33, 0},
        {"Hills", "Celtic Ruins", "Кельтские руины", Column::Right, 16, 11, -1, 2},
        {"Summit", "Summit", "Саммит", Column::Right, 135, 13, 119, 7},
        {"Snowy", "Snow Racer", "Заснеженный перевал", Column::Right, 118, 14, 102, 8},
        {"Rockypas", "Rocky Pass", "Скалистый перевал", Column::Right, 101, 15, 84, 3},
        {"Redrock", "Redrock Ridge", "Гряда красной скалы", Column::Right, 84, 16, 67, 4},
        {"Park", "Kindiak Park", "Киндиакийский парк", Column::Right, 67, 17, 50, 5},
        {"UK", "Durham Road", "Дорога Дурхэм", Column::Right, 152, 18, 136, 6},
    }};
    return rows;
}

const QStringList& SlotNames()
{
    static const QStringList names{"Aquatica", "Atlantic", "Coastal",  "Country", "Empire",
                                   "France",   "Germany",  "Gt1",      "Gt2",     "Gt3",
                                   "Hills",    "Hometown", "Lostcany", "Park",    "Redrock",
                                   "Rockypas", "Snowy",    "Summit",   "UK"};
    return names;
}

const QStringList& TrackFileSet()
{
    static const QStringList files{
        "spdfa.bin", "spdRA.bin", "Tr.cam",   "Tr00.can", "tr00a.can",   "tr01.can", "tr02.can",
        "Tr03.can",  "tr04.can",  "Tr05.can", "Tr06.can", "Tr.frd",      "Tr.ini",   "TrN.ini",
        "TrNW.ini",  "TrW.ini",   "sky.qfs",  "tr0.qfs",  "heights.sim", "Trn.frd",  "TRN0.qFS"};
    return files;
}

const SlotRow* findSlot(const QString& name)
{
    for (const SlotRow& row : windowOrder()) {
        if (name == QLatin1String(row.name))
            return &row;
    }
    return nullptr;
}

} // namespace trackslots
