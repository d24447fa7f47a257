#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace torvane::gen {

// Word lists the generator draws names, places and texts from.
struct Town {
    const char* name;
    const char* province;
    const char* postcode;  // first three digits
    const char* phone;     // area code
};

struct CarMake {
    const char* make;
    QStringList models;
};

struct Family {
    const char* name;
    const char* code;  // three letters for typed article codes
    QStringList items;
    QStringList brands;
    double minPrice;
    double maxPrice;
    int maxUnits;
};

struct DepartmentRate {
    const char* name;
    double price;
};

const QStringList& maleNames();
const QStringList& femaleNames();
const QStringList& surnames();
const QStringList& streets();
const std::vector<Town>& towns();
const QStringList& companyWords();
const QStringList& companyKinds();
const QStringList& banks();
const std::vector<CarMake>& carMakes();
const QStringList& colours();
const QStringList& fuelLevels();
const QStringList& jobsToDo();
const QStringList& labourTexts();
const QStringList& freeLineTexts();
const QStringList& looseMaterials();
const std::vector<Family>& families();
const QStringList& warehouses();
const std::vector<DepartmentRate>& departments();
const QStringList& categories();
const QStringList& paymentTerms();
const QStringList& insurerNames();
const QStringList& supplierWords();
const QStringList& freeInvoiceConcepts();
const QStringList& commissionConcepts();
const QStringList& receiptTerms();

}  // namespace torvane::gen
