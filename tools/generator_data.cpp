#include "generator_data.h"

namespace torvane::gen {

const QStringList& maleNames() {
    static const QStringList v{
        "ANTONIO", "JOSE",   "MANUEL",   "FRANCISCO", "DAVID",  "JUAN",    "JAVIER",  "JOSE LUIS",
        "DANIEL",  "CARLOS", "JESUS",    "ALEJANDRO", "MIGUEL", "RAFAEL",  "PEDRO",   "PABLO",
        "ANGEL",   "SERGIO", "FERNANDO", "JORGE",     "LUIS",   "ALBERTO", "VICENTE", "ENRIQUE",
        "RAMON",   "ANDRES", "VICTOR",   "IGNACIO",   "JAIME",  "SALVADOR"};
    return v;
}

const QStringList& femaleNames() {
    static const QStringList v{
        "MARIA CARMEN", "MARIA", "CARMEN",   "ANA MARIA",  "LAURA",  "ISABEL",     "MARIA PILAR",
        "JOSEFA",       "ANA",   "CRISTINA", "MARTA",      "LUCIA",  "ELENA",      "PILAR",
        "DOLORES",      "SARA",  "PAULA",    "ROSA",       "TERESA", "RAQUEL",     "BEATRIZ",
        "SILVIA",       "NURIA", "AMPARO",   "MONTSERRAT", "ROCIO",  "INMACULADA", "ALICIA"};
    return v;
}

const QStringList& surnames() {
    static const QStringList v{
        "GARCIA",  "RODRIGUEZ", "GONZALEZ", "FERNANDEZ", "LOPEZ",     "MARTINEZ",  "SANCHEZ",
        "PEREZ",   "GOMEZ",     "MARTIN",   "JIMENEZ",   "RUIZ",      "HERNANDEZ", "DIAZ",
        "MORENO",  "MUÑOZ",     "ALVAREZ",  "ROMERO",    "ALONSO",    "GUTIERREZ", "NAVARRO",
        "TORRES",  "DOMINGUEZ", "VAZQUEZ",  "RAMOS",     "GIL",       "RAMIREZ",   "SERRANO",
        "BLANCO",  "MOLINA",    "MORALES",  "SUAREZ",    "ORTEGA",    "DELGADO",   "CASTRO",
        "ORTIZ",   "RUBIO",     "MARIN",    "SANZ",      "NUÑEZ",     "IGLESIAS",  "MEDINA",
        "GARRIDO", "CORTES",    "CASTILLO", "SANTOS",    "LOZANO",    "GUERRERO",  "CANO",
        "PRIETO",  "MENDEZ",    "CRUZ",     "CALVO",     "GALLEGO",   "VIDAL",     "LEON",
        "HERRERA", "MARQUEZ",   "PEÑA",     "FLORES",    "CABRERA",   "CAMPOS",    "VEGA",
        "FUENTES", "CARRASCO",  "DIEZ",     "REYES",     "CABALLERO", "NIETO",     "AGUILAR",
        "PASCUAL", "SANTANA",   "HERRERO",  "LORENZO",   "MONTERO",   "HIDALGO",   "GIMENEZ",
        "FERRER",  "DURAN",     "SANTIAGO", "BENITEZ",   "MORA",      "VICENTE",   "ARIAS",
        "VARGAS",  "CARMONA",   "CRESPO",   "ROMAN",     "PASTOR",    "SOTO",      "SAEZ",
        "VELASCO", "MOYA",      "SOLER",    "PARRA",     "ESTEBAN",   "BRAVO",     "GALLARDO",
        "ROJAS",   "BELTRAN",   "PONS",     "LLORENS",   "SEGURA",    "MARCO",     "TORMO"};
    return v;
}

const QStringList& streets() {
    static const QStringList v{"C/ MAYOR",
                               "AVDA. DE LA CONSTITUCION",
                               "C/ SAN VICENTE",
                               "C/ COLON",
                               "PLAZA DE ESPAÑA",
                               "C/ DEL MAR",
                               "AVDA. DEL PUERTO",
                               "C/ ALCALA",
                               "C/ REAL",
                               "C/ SANTA ANA",
                               "C/ DE LA PAZ",
                               "C/ NUEVA",
                               "AVDA. BLASCO IBAÑEZ",
                               "C/ MIGUEL HERNANDEZ",
                               "C/ CERVANTES",
                               "C/ LEPANTO",
                               "C/ SAN JOSE",
                               "C/ DEL CARMEN",
                               "C/ LA HUERTA",
                               "C/ DE LOS ANGELES",
                               "C/ VALENCIA",
                               "C/ MADRID",
                               "AVDA. DE LA PAZ",
                               "C/ DEL PILAR",
                               "C/ GRAN VIA",
                               "C/ DE LA IGLESIA",
                               "C/ DEL SOL",
                               "C/ ANCHA",
                               "C/ DE LAS FLORES",
                               "POLIGONO INDUSTRIAL EL OLIVERAL",
                               "C/ DOCTOR FLEMING",
                               "C/ RAMON Y CAJAL",
                               "C/ PINTOR SOROLLA",
                               "C/ JAIME I",
                               "C/ CASTILLA"};
    return v;
}

const std::vector<Town>& towns() {
    static const std::vector<Town> v{{"VALENCIA", "VALENCIA", "460", "96"},
                                     {"TORRENT", "VALENCIA", "469", "96"},
                                     {"GANDIA", "VALENCIA", "467", "96"},
                                     {"SAGUNTO", "VALENCIA", "465", "96"},
                                     {"PATERNA", "VALENCIA", "469", "96"},
                                     {"ALZIRA", "VALENCIA", "466", "96"},
                                     {"XATIVA", "VALENCIA", "468", "96"},
                                     {"BURJASSOT", "VALENCIA", "461", "96"},
                                     {"MANISES", "VALENCIA", "469", "96"},
                                     {"CATARROJA", "VALENCIA", "464", "96"},
                                     {"CASTELLON DE LA PLANA", "CASTELLON", "120", "964"},
                                     {"VILA-REAL", "CASTELLON", "125", "964"},
                                     {"ALICANTE", "ALICANTE", "030", "965"},
                                     {"ELCHE", "ALICANTE", "032", "966"},
                                     {"BENIDORM", "ALICANTE", "035", "966"},
                                     {"ALCOY", "ALICANTE", "038", "965"},
                                     {"MADRID", "MADRID", "280", "91"},
                                     {"ALCALA DE HENARES", "MADRID", "288", "91"},
                                     {"GETAFE", "MADRID", "289", "91"},
                                     {"ALBACETE", "ALBACETE", "020", "967"},
                                     {"CUENCA", "CUENCA", "160", "969"},
                                     {"TERUEL", "TERUEL", "440", "978"},
                                     {"MURCIA", "MURCIA", "300", "968"},
                                     {"ZARAGOZA", "ZARAGOZA", "500", "976"},
                                     {"REQUENA", "VALENCIA", "463", "96"}};
    return v;
}

const QStringList& companyWords() {
    static const QStringList v{"TRANSPORTES",    "CONSTRUCCIONES", "DISTRIBUCIONES", "AUTOCARES",
                               "REFORMAS",       "INSTALACIONES",  "FONTANERIA",     "MUDANZAS",
                               "CARPINTERIA",    "ELECTRICIDAD",   "JARDINERIA",     "LIMPIEZAS",
                               "HORTOFRUTICOLA", "EXCAVACIONES",   "FRUTAS",         "MATERIALES",
                               "PANADERIA",      "SERVICIOS",      "LOGISTICA",      "TAXI"};
    return v;
}

const QStringList& companyKinds() {
    static const QStringList v{"S.L.", "S.L.", "S.L.", "S.A.", "S.L.U.", "S.COOP.V."};
    return v;
}

const QStringList& banks() {
    static const QStringList v{"BANCO SANTANDER", "BBVA",      "CAIXABANK", "BANCO SABADELL",
                               "BANKINTER",       "CAJAMAR",   "IBERCAJA",  "UNICAJA",
                               "CAJA RURAL",      "KUTXABANK", "ABANCA",    "ING"};
    return v;
}

const std::vector<CarMake>& carMakes() {
    static const std::vector<CarMake> v{
        {"SEAT", {"IBIZA", "LEON", "ARONA", "ATECA", "TOLEDO", "ALHAMBRA", "CORDOBA"}},
        {"RENAULT", {"CLIO", "MEGANE", "KANGOO", "CAPTUR", "SCENIC", "LAGUNA", "TRAFIC"}},
        {"PEUGEOT", {"206", "207", "208", "307", "308", "3008", "PARTNER", "EXPERT"}},
        {"CITROEN", {"C3", "C4", "XSARA", "BERLINGO", "C5", "JUMPY", "SAXO"}},
        {"VOLKSWAGEN", {"GOLF", "POLO", "PASSAT", "TOURAN", "CADDY", "TIGUAN", "TRANSPORTER"}},
        {"FORD", {"FOCUS", "FIESTA", "MONDEO", "KUGA", "TRANSIT", "C-MAX"}},
        {"OPEL", {"CORSA", "ASTRA", "VECTRA", "ZAFIRA", "INSIGNIA", "VIVARO"}},
        {"TOYOTA", {"COROLLA", "YARIS", "AURIS", "RAV4", "PRIUS", "HILUX"}},
        {"FIAT", {"PUNTO", "PANDA", "500", "DOBLO", "DUCATO", "TIPO"}},
        {"NISSAN", {"QASHQAI", "MICRA", "JUKE", "NAVARA", "X-TRAIL", "PRIMASTAR"}},
        {"KIA", {"CEED", "SPORTAGE", "RIO", "PICANTO", "SORENTO"}},
        {"HYUNDAI", {"I30", "TUCSON", "I20", "SANTA FE", "GETZ"}},
        {"BMW", {"SERIE 1", "SERIE 3", "SERIE 5", "X1", "X3"}},
        {"MERCEDES-BENZ", {"CLASE A", "CLASE C", "CLASE E", "VITO", "SPRINTER"}},
        {"AUDI", {"A3", "A4", "A6", "Q3", "Q5"}},
        {"SKODA", {"OCTAVIA", "FABIA", "SUPERB", "KODIAQ"}},
        {"DACIA", {"SANDERO", "LOGAN", "DUSTER", "LODGY"}}};
    return v;
}

const QStringList& colours() {
    static const QStringList v{"BLANCO",   "NEGRO",   "GRIS PLATA",  "GRIS OSCURO",
                               "ROJO",     "AZUL",    "AZUL MARINO", "VERDE",
                               "AMARILLO", "GRANATE", "BEIGE",       "NARANJA"};
    return v;
}

const QStringList& fuelLevels() {
    static const QStringList v{"Desconocido", "RESERVA", "1/4", "1/2", "3/4", "LLENO"};
    return v;
}

const QStringList& jobsToDo() {
    static const QStringList v{"CAMBIO DE ACEITE Y FILTRO",
                               "REVISION GENERAL",
                               "REVISION 30.000 KM",
                               "REVISION 60.000 KM",
                               "CAMBIAR PASTILLAS DE FRENO DELANTERAS",
                               "CAMBIAR DISCOS Y PASTILLAS",
                               "RUIDO EN LA SUSPENSION DELANTERA",
                               "NO ARRANCA",
                               "CAMBIAR CORREA DE DISTRIBUCION",
                               "REVISAR AIRE ACONDICIONADO",
                               "CARGAR GAS AIRE ACONDICIONADO",
                               "PASAR ITV",
                               "PRE-ITV",
                               "CAMBIAR BATERIA",
                               "TESTIGO MOTOR ENCENDIDO",
                               "CAMBIAR EMBRAGUE",
                               "CAMBIAR AMORTIGUADORES TRASEROS",
                               "ALINEAR DIRECCION",
                               "CAMBIAR NEUMATICOS DELANTEROS",
                               "PERDIDA DE AGUA",
                               "REVISAR LUCES",
                               "CAMBIAR ESCOBILLAS",
                               "GOLPE EN PUERTA DELANTERA IZQUIERDA",
                               "PINTAR PARACHOQUES TRASERO",
                               "CAMBIAR TUBO DE ESCAPE",
                               "REVISAR FRENO DE MANO",
                               "CAMBIAR BOMBA DE AGUA",
                               "VIBRACION AL FRENAR",
                               "DIAGNOSIS ELECTRONICA",
                               "CAMBIAR LAMPARAS"};
    return v;
}

const QStringList& labourTexts() {
    static const QStringList v{"CAMBIO DE ACEITE Y FILTROS",
                               "SUSTITUCION PASTILLAS DE FRENO",
                               "SUSTITUCION DISCOS DE FRENO",
                               "DIAGNOSIS CON EQUIPO",
                               "SUSTITUCION KIT DISTRIBUCION",
                               "SUSTITUCION BATERIA",
                               "CARGA GAS A/A Y COMPROBACION",
                               "DESMONTAJE Y MONTAJE EMBRAGUE",
                               "SUSTITUCION AMORTIGUADORES",
                               "ALINEADO DE DIRECCION",
                               "MONTAJE Y EQUILIBRADO NEUMATICOS",
                               "REPARACION INSTALACION ELECTRICA",
                               "CHAPA PUERTA DELANTERA",
                               "PINTURA PARACHOQUES",
                               "SUSTITUCION ESCAPE",
                               "REGLAJE FRENO DE MANO",
                               "SUSTITUCION BOMBA DE AGUA",
                               "REVISION GENERAL",
                               "PREPARACION Y PASO ITV",
                               "SUSTITUCION LAMPARAS",
                               "LIMPIEZA INYECTORES",
                               "SUSTITUCION MANGUITOS"};
    return v;
}

const QStringList& freeLineTexts() {
    static const QStringList v{"MATERIAL DE TALLER",
                               "GESTION ITV",
                               "TASA ITV",
                               "RECOGIDA Y ENTREGA A DOMICILIO",
                               "LAVADO DEL VEHICULO",
                               "RECICLAJE DE ACEITE Y FILTROS",
                               "TRABAJO EXTERIOR TORNERIA",
                               "ALQUILER VEHICULO SUSTITUCION"};
    return v;
}

const QStringList& looseMaterials() {
    static const QStringList v{"TORNILLERIA VARIADA", "GRASA",          "LIQUIDO LIMPIAFRENOS",
                               "ABRAZADERAS",         "CINTA AISLANTE", "JUNTAS VARIAS"};
    return v;
}

const std::vector<Family>& families() {
    static const std::vector<Family> v{
        {"FILTROS",
         "FIL",
         {"FILTRO ACEITE", "FILTRO AIRE", "FILTRO GASOIL", "FILTRO HABITACULO"},
         {"MANN", "BOSCH", "PURFLUX", "MAHLE"},
         6.0,
         45.0,
         1},
        {"FRENOS",
         "FRE",
         {"PASTILLAS FRENO DEL.", "PASTILLAS FRENO TRAS.", "DISCO FRENO", "ZAPATAS FRENO",
          "LIQUIDO FRENOS DOT4", "LATIGUILLO FRENO"},
         {"BREMBO", "TEXTAR", "FERODO", "ATE", "BOSCH"},
         9.0,
         120.0,
         2},
        {"ACEITES",
         "ACE",
         {"ACEITE 5W30 1L", "ACEITE 10W40 1L", "ACEITE 5W40 1L", "ACEITE CAJA CAMBIOS 1L"},
         {"CASTROL", "REPSOL", "MOTUL", "ELF"},
         6.5,
         14.0,
         5},
        {"ELECTRICIDAD",
         "ELE",
         {"BATERIA 60AH", "BATERIA 74AH", "BUJIA", "CALENTADOR", "ALTERNADOR", "MOTOR ARRANQUE",
          "FUSIBLE"},
         {"VARTA", "BOSCH", "NGK", "VALEO"},
         1.5,
         320.0,
         4},
        {"NEUMATICOS",
         "NEU",
         {"NEUMATICO 195/65 R15", "NEUMATICO 205/55 R16", "NEUMATICO 225/45 R17",
          "VALVULA NEUMATICO"},
         {"MICHELIN", "CONTINENTAL", "PIRELLI", "BRIDGESTONE"},
         2.0,
         160.0,
         4},
        {"DISTRIBUCION",
         "DIS",
         {"KIT DISTRIBUCION", "BOMBA AGUA", "CORREA AUXILIAR", "TENSOR CORREA"},
         {"GATES", "CONTITECH", "DAYCO", "SKF"},
         18.0,
         260.0,
         1},
        {"SUSPENSION",
         "SUS",
         {"AMORTIGUADOR DEL.", "AMORTIGUADOR TRAS.", "ROTULA DIRECCION", "BIELETA ESTABILIZADORA",
          "SILENTBLOCK"},
         {"MONROE", "SACHS", "KYB", "TRW"},
         8.0,
         110.0,
         2},
        {"ESCAPE",
         "ESC",
         {"SILENCIOSO TRASERO", "TUBO INTERMEDIO", "CATALIZADOR", "JUNTA ESCAPE"},
         {"WALKER", "BOSAL", "ERNST"},
         3.0,
         380.0,
         1},
        {"REFRIGERACION",
         "REF",
         {"ANTICONGELANTE 5L", "RADIADOR", "TERMOSTATO", "MANGUITO RADIADOR", "GAS R134A"},
         {"VALEO", "NISSENS", "KRAFFT"},
         7.0,
         240.0,
         2},
        {"EMBRAGUE",
         "EMB",
         {"KIT EMBRAGUE", "BOMBIN EMBRAGUE", "COJINETE EMBRAGUE"},
         {"LUK", "VALEO", "SACHS"},
         25.0,
         330.0,
         1},
        {"ILUMINACION",
         "ILU",
         {"LAMPARA H7", "LAMPARA H4", "LAMPARA W5W", "PILOTO TRASERO", "FARO DELANTERO"},
         {"PHILIPS", "OSRAM", "HELLA"},
         1.2,
         210.0,
         2},
        {"CARROCERIA",
         "CAR",
         {"ESCOBILLA LIMPIAPARABRISAS", "RETROVISOR EXTERIOR", "PARACHOQUES DELANTERO",
          "MANETA PUERTA", "PINTURA BICAPA 1L"},
         {"BOSCH", "VALEO", "PRASCO"},
         6.0,
         190.0,
         2}};
    return v;
}

const QStringList& warehouses() {
    static const QStringList v{"ALMACEN PRINCIPAL", "ESTANTERIA A", "ESTANTERIA B",
                               "ESTANTERIA C",      "ALTILLO",      "NAVE 2"};
    return v;
}

const std::vector<DepartmentRate>& departments() {
    static const std::vector<DepartmentRate> v{{"MECANICA", 38.50},  {"ELECTRICIDAD", 40.00},
                                               {"CHAPA", 36.00},     {"PINTURA", 42.00},
                                               {"DIAGNOSIS", 45.00}, {"NEUMATICOS", 30.00}};
    return v;
}

const QStringList& categories() {
    static const QStringList v{"OFICIAL 1ª", "OFICIAL 1ª", "OFICIAL 2ª",
                               "OFICIAL 3ª", "AYUDANTE",   "JEFE DE TALLER"};
    return v;
}

const QStringList& paymentTerms() {
    static const QStringList v{"CONTADO",        "CONTADO",        "CONTADO", "TRANSFERENCIA",
                               "RECIBO 30 DIAS", "RECIBO 60 DIAS", "TARJETA"};
    return v;
}

const QStringList& insurerNames() {
    static const QStringList v{
        "MUTUA LEVANTINA",        "SEGUROS IBERIA",       "ASISTENCIA DEL MEDITERRANEO",
        "PREVISORA RURAL",        "SEGUROS ATLANTICO",    "MUTUA DEL AUTOMOVIL",
        "AURORA SEGUROS",         "UNION DE CONDUCTORES", "SEGUROS DEL TURIA",
        "GRUPO ASEGURADOR CENTRO"};
    return v;
}

const QStringList& supplierWords() {
    static const QStringList v{"RECAMBIOS",   "AUTOPIEZAS",  "DISTRIBUCIONES", "NEUMATICOS",
                               "LUBRICANTES", "SUMINISTROS", "ELECTRO"};
    return v;
}

const QStringList& freeInvoiceConcepts() {
    static const QStringList v{"ALQUILER DE PLAZA DE GARAJE",
                               "REPARACION DE MAQUINARIA",
                               "VENTA DE VEHICULO USADO ACCESORIOS",
                               "SERVICIO DE GRUA PARTICULAR",
                               "GESTION DE TRANSFERENCIA",
                               "TRABAJOS DE SOLDADURA",
                               "PUPILAJE DE VEHICULO",
                               "LIMPIEZA INTEGRAL"};
    return v;
}

const QStringList& commissionConcepts() {
    static const QStringList v{"COMISION VENTA DE VEHICULO", "COMISION INTERMEDIACION SEGURO",
                               "COMISION FINANCIACION", "COMISION GESTION SINIESTRO"};
    return v;
}

const QStringList& receiptTerms() {
    static const QStringList v{"A LA VISTA", "30 DÍAS",    "45 DÍAS",    "60 DÍAS",
                               "90 DÍAS",    "30-60 DÍAS", "60-90 DÍAS", "30-60-90 DÍAS"};
    return v;
}

}  // namespace torvane::gen
