#pragma once

// Result records of the value-added history service. Their layouts are the service's wire
// format: every offset and every size below is fixed. Bytes this client never reads are kept
// as unnamed filler ("reserved...") so that every read field sits at its exact offset.

#include <cstddef>
#include <cstdint>

namespace ZRVALUEADDPROAPI {

struct CZRVDHistoryOrderEXField
{
    char CustomerID[13];
    char SecurityID[60];
    char PriceType;
    char Direction;
    char reserved75[13];
    double OrderPrice;
    int32_t OrderVolume;
    char PriceTypeAux1;
    char PriceTypeAux2;
    char reserved102[27];
    char ExchangeID;
    char reserved130[1];
    char ShareholderID[94];
    char OrderStatus;
    char reserved226[2];
    int32_t TradedVolume;
    char reserved232[4];
    char OrderDate[9];
    char OrderTime[58];
    char StatusMsg[257];
    double TradedAmount;
    char reserved568[104];
};

struct CZRVDCreditHistoryOrderEXField
{
    char CustomerID[13];
    char SecurityID[51];
    char PriceType;
    char Direction;
    char reserved66[14];
    double OrderPrice;
    int32_t OrderVolume;
    char PriceTypeAux1;
    char PriceTypeAux2;
    char reserved94[27];
    char ExchangeID;
    char reserved122[1];
    char ShareholderID[94];
    char OrderStatus;
    char reserved218[2];
    int32_t TradedVolume;
    char reserved224[4];
    char OrderDate[9];
    char OrderTime[58];
    char StatusMsg[257];
    double TradedAmount;
    char reserved560[104];
};

struct CZRVDHistoryTradeEXField
{
    char CustomerID[13];
    char SecurityID[47];
    char ExchangeID;
    char TradeID[21];
    char Direction;
    char reserved83[22];
    char ShareholderID[47];
    double TradePrice;
    int32_t TradeVolume;
    char TradeDate[9];
    char TradeTime[115];
    double Commission;
    char reserved296[8];
};

struct CZRVDCreditHistoryTradeEXField
{
    char CustomerID[13];
    char SecurityID[47];
    char ExchangeID;
    char TradeID[21];
    char Direction;
    char reserved83[22];
    char ShareholderID[47];
    double TradePrice;
    int32_t TradeVolume;
    char TradeDate[9];
    char TradeTime[107];
    double Commission;
    char reserved288[8];
};

struct CZRVDHistoryDeliveryField
{
    char CustomerID[13];
    char TradeDate[9];
    char TradeTime[9];
    char SecurityID[31];
    char SecurityName[41];
    char ExchangeName[43];
    char DirectionName[46];
    double NetAmount;
    double TradeAmount;
    int32_t TradeVolume;
    char reserved212[4];
    double TradePrice;
    double StampTax;
    double TransferFee;
    double Commission;
    double RegulatoryFee;
    char SerialNo[13];
    char ShareholderID[11];
    int32_t ShareBalance;
    char reserved284[4];
    double FundBalance;
    char reserved296[8];
    double OpenCostPrice;
    double CloseProfitLoss;
    char reserved320[32];
};

struct CZRVDCreditHistoryDeliveryField
{
    char CustomerID[13];
    char TradeDate[9];
    char TradeTime[9];
    char SecurityID[31];
    char SecurityName[41];
    char ExchangeName[43];
    char DirectionName[46];
    double NetAmount;
    double TradeAmount;
    int32_t TradeVolume;
    char reserved212[4];
    double TradePrice;
    double StampTax;
    double TransferFee;
    double Commission;
    double RegulatoryFee;
    int32_t SerialNo;
    char ShareholderID[12];
    int32_t ShareBalance;
    char reserved276[4];
    double FundBalance;
    char reserved288[8];
    double OpenCostPrice;
    double CloseProfitLoss;
};

struct CZRVDCreditHistoryDebtInfoField
{
    char TradeDate[9];
    char CustomerID[94];
    char OpenDate[49];
    int32_t EntrustType;
    char ExchangeID;
    char ShareholderID[11];
    char SecurityID[112];
    int32_t FinancedVolume;
    char reserved284[12];
    int32_t ShortVolume;
    char reserved300[12];
    double DebtAmount;
    double RepaidAmount;
    char reserved328[4];
    int32_t RepaidVolume;
    char reserved336[40];
    double ExtraDebtAmount;
    char reserved384[96];
    int32_t DebtStatus;
    char reserved484[260];
};

struct CZRVDHistoryCapitalField
{
    char TradingDay[9];
    char CustomerID[15];
    double TotalAsset;
    double CustomerFund;
    double TotalMarketValue;
    double Deposit;
    double Withdrawal;
    double DayProfitLoss;
    char reserved72[16];
    double UnmaturedBondValue;
    double FundMarketValue;
    double OTCAsset;
    char reserved112[16];
};

struct CZRVDCreditHistoryCapitalField
{
    char TradingDay[9];
    char CustomerID[15];
    double TotalAsset;
    double CustomerFund;
    double TotalMarketValue;
    double Deposit;
    double Withdrawal;
    double DayProfitLoss;
    char reserved72[16];
    double TotalLiability;
    double NetAsset;
    double TotalInterest;
};

struct CZRVDHistoryFundDetailField
{
    char SerialNo[31];
    char TradingDay[9];
    char PostingTime[9];
    char CustomerID[74];
    char BusinessItem[37];
    double Deposit;
    double Withdrawal;
    double FundBalance;
    char Summary[81];
    char ExchangeCode[5];
    char SecurityID[50];
};

struct CZRVDCreditHistoryFundDetailField
{
    char SerialNo[31];
    char TradingDay[9];
    char PostingTime[9];
    char CustomerID[74];
    char BusinessItem[37];
    double Deposit;
    double Withdrawal;
    double FundBalance;
    char Summary[81];
    char ExchangeCode[5];
    char SecurityID[50];
};

struct CZRVDHistoryHoldField
{
    char TradingDay[9];
    char CustomerID[44];
    char ShareholderID[11];
    char ExchangeCode[35];
    char SecurityID[81];
    int32_t HoldVolume;
    char reserved184[8];
    double HoldCost;
    double AccumulatedProfitLoss;
    char reserved208[8];
    double OpenCostPrice;
};

struct CZRVDCreditHistoryHoldField
{
    char TradingDay[9];
    char CustomerID[44];
    char ShareholderID[11];
    char ExchangeCode[35];
    char SecurityID[81];
    int32_t HoldVolume;
    char reserved184[8];
    double HoldCost;
    double AccumulatedProfitLoss;
    char reserved208[8];
    double OpenCostPrice;
};

struct CZRVDHisShareProfitField
{
    char CustomerID[13];
    char ExchangeID;
    char SecurityID[34];
    double BeginMarketValue;
    double EndMarketValue;
    double OpenAmount;
    double CloseAmount;
    double ProfitLoss;
    char EndDate[12];
    int32_t BeginVolume;
    int32_t EndVolume;
    char reserved108[4];
};

struct CZRVDCreditHisShareProfitField
{
    char CustomerID[13];
    char ExchangeID;
    char SecurityID[34];
    double BeginMarketValue;
    double EndMarketValue;
    double OpenAmount;
    double CloseAmount;
    double ProfitLoss;
    char EndDate[12];
    int32_t BeginVolume;
    int32_t EndVolume;
    char reserved108[4];
};

} // namespace ZRVALUEADDPROAPI

// The layouts are checked at compile time: a field at the wrong place does not build.
#define ZRVD_AT(T, f, off) static_assert(offsetof(T, f) == (off), #T "::" #f " is not at offset " #off)
namespace ZRVALUEADDPROAPI {
static_assert(sizeof(CZRVDHistoryOrderEXField) == 672, "CZRVDHistoryOrderEXField must be 672 bytes");
ZRVD_AT(CZRVDHistoryOrderEXField, CustomerID, 0);
ZRVD_AT(CZRVDHistoryOrderEXField, SecurityID, 13);
ZRVD_AT(CZRVDHistoryOrderEXField, PriceType, 73);
ZRVD_AT(CZRVDHistoryOrderEXField, Direction, 74);
ZRVD_AT(CZRVDHistoryOrderEXField, OrderPrice, 88);
ZRVD_AT(CZRVDHistoryOrderEXField, OrderVolume, 96);
ZRVD_AT(CZRVDHistoryOrderEXField, PriceTypeAux1, 100);
ZRVD_AT(CZRVDHistoryOrderEXField, PriceTypeAux2, 101);
ZRVD_AT(CZRVDHistoryOrderEXField, ExchangeID, 129);
ZRVD_AT(CZRVDHistoryOrderEXField, ShareholderID, 131);
ZRVD_AT(CZRVDHistoryOrderEXField, OrderStatus, 225);
ZRVD_AT(CZRVDHistoryOrderEXField, TradedVolume, 228);
ZRVD_AT(CZRVDHistoryOrderEXField, OrderDate, 236);
ZRVD_AT(CZRVDHistoryOrderEXField, OrderTime, 245);
ZRVD_AT(CZRVDHistoryOrderEXField, StatusMsg, 303);
ZRVD_AT(CZRVDHistoryOrderEXField, TradedAmount, 560);
static_assert(sizeof(CZRVDCreditHistoryOrderEXField) == 664, "CZRVDCreditHistoryOrderEXField must be 664 bytes");
ZRVD_AT(CZRVDCreditHistoryOrderEXField, CustomerID, 0);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, SecurityID, 13);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, PriceType, 64);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, Direction, 65);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, OrderPrice, 80);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, OrderVolume, 88);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, PriceTypeAux1, 92);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, PriceTypeAux2, 93);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, ExchangeID, 121);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, ShareholderID, 123);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, OrderStatus, 217);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, TradedVolume, 220);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, OrderDate, 228);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, OrderTime, 237);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, StatusMsg, 295);
ZRVD_AT(CZRVDCreditHistoryOrderEXField, TradedAmount, 552);
static_assert(sizeof(CZRVDHistoryTradeEXField) == 304, "CZRVDHistoryTradeEXField must be 304 bytes");
ZRVD_AT(CZRVDHistoryTradeEXField, CustomerID, 0);
ZRVD_AT(CZRVDHistoryTradeEXField, SecurityID, 13);
ZRVD_AT(CZRVDHistoryTradeEXField, ExchangeID, 60);
ZRVD_AT(CZRVDHistoryTradeEXField, TradeID, 61);
ZRVD_AT(CZRVDHistoryTradeEXField, Direction, 82);
ZRVD_AT(CZRVDHistoryTradeEXField, ShareholderID, 105);
ZRVD_AT(CZRVDHistoryTradeEXField, TradePrice, 152);
ZRVD_AT(CZRVDHistoryTradeEXField, TradeVolume, 160);
ZRVD_AT(CZRVDHistoryTradeEXField, TradeDate, 164);
ZRVD_AT(CZRVDHistoryTradeEXField, TradeTime, 173);
ZRVD_AT(CZRVDHistoryTradeEXField, Commission, 288);
static_assert(sizeof(CZRVDCreditHistoryTradeEXField) == 296, "CZRVDCreditHistoryTradeEXField must be 296 bytes");
ZRVD_AT(CZRVDCreditHistoryTradeEXField, CustomerID, 0);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, SecurityID, 13);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, ExchangeID, 60);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, TradeID, 61);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, Direction, 82);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, ShareholderID, 105);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, TradePrice, 152);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, TradeVolume, 160);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, TradeDate, 164);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, TradeTime, 173);
ZRVD_AT(CZRVDCreditHistoryTradeEXField, Commission, 280);
static_assert(sizeof(CZRVDHistoryDeliveryField) == 352, "CZRVDHistoryDeliveryField must be 352 bytes");
ZRVD_AT(CZRVDHistoryDeliveryField, CustomerID, 0);
ZRVD_AT(CZRVDHistoryDeliveryField, TradeDate, 13);
ZRVD_AT(CZRVDHistoryDeliveryField, TradeTime, 22);
ZRVD_AT(CZRVDHistoryDeliveryField, SecurityID, 31);
ZRVD_AT(CZRVDHistoryDeliveryField, SecurityName, 62);
ZRVD_AT(CZRVDHistoryDeliveryField, ExchangeName, 103);
ZRVD_AT(CZRVDHistoryDeliveryField, DirectionName, 146);
ZRVD_AT(CZRVDHistoryDeliveryField, NetAmount, 192);
ZRVD_AT(CZRVDHistoryDeliveryField, TradeAmount, 200);
ZRVD_AT(CZRVDHistoryDeliveryField, TradeVolume, 208);
ZRVD_AT(CZRVDHistoryDeliveryField, TradePrice, 216);
ZRVD_AT(CZRVDHistoryDeliveryField, StampTax, 224);
ZRVD_AT(CZRVDHistoryDeliveryField, TransferFee, 232);
ZRVD_AT(CZRVDHistoryDeliveryField, Commission, 240);
ZRVD_AT(CZRVDHistoryDeliveryField, RegulatoryFee, 248);
ZRVD_AT(CZRVDHistoryDeliveryField, SerialNo, 256);
ZRVD_AT(CZRVDHistoryDeliveryField, ShareholderID, 269);
ZRVD_AT(CZRVDHistoryDeliveryField, ShareBalance, 280);
ZRVD_AT(CZRVDHistoryDeliveryField, FundBalance, 288);
ZRVD_AT(CZRVDHistoryDeliveryField, OpenCostPrice, 304);
ZRVD_AT(CZRVDHistoryDeliveryField, CloseProfitLoss, 312);
static_assert(sizeof(CZRVDCreditHistoryDeliveryField) == 312, "CZRVDCreditHistoryDeliveryField must be 312 bytes");
ZRVD_AT(CZRVDCreditHistoryDeliveryField, CustomerID, 0);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TradeDate, 13);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TradeTime, 22);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, SecurityID, 31);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, SecurityName, 62);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, ExchangeName, 103);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, DirectionName, 146);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, NetAmount, 192);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TradeAmount, 200);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TradeVolume, 208);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TradePrice, 216);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, StampTax, 224);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, TransferFee, 232);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, Commission, 240);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, RegulatoryFee, 248);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, SerialNo, 256);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, ShareholderID, 260);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, ShareBalance, 272);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, FundBalance, 280);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, OpenCostPrice, 296);
ZRVD_AT(CZRVDCreditHistoryDeliveryField, CloseProfitLoss, 304);
static_assert(sizeof(CZRVDCreditHistoryDebtInfoField) == 744, "CZRVDCreditHistoryDebtInfoField must be 744 bytes");
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, TradeDate, 0);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, CustomerID, 9);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, OpenDate, 103);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, EntrustType, 152);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, ExchangeID, 156);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, ShareholderID, 157);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, SecurityID, 168);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, FinancedVolume, 280);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, ShortVolume, 296);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, DebtAmount, 312);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, RepaidAmount, 320);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, RepaidVolume, 332);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, ExtraDebtAmount, 376);
ZRVD_AT(CZRVDCreditHistoryDebtInfoField, DebtStatus, 480);
static_assert(sizeof(CZRVDHistoryCapitalField) == 128, "CZRVDHistoryCapitalField must be 128 bytes");
ZRVD_AT(CZRVDHistoryCapitalField, TradingDay, 0);
ZRVD_AT(CZRVDHistoryCapitalField, CustomerID, 9);
ZRVD_AT(CZRVDHistoryCapitalField, TotalAsset, 24);
ZRVD_AT(CZRVDHistoryCapitalField, CustomerFund, 32);
ZRVD_AT(CZRVDHistoryCapitalField, TotalMarketValue, 40);
ZRVD_AT(CZRVDHistoryCapitalField, Deposit, 48);
ZRVD_AT(CZRVDHistoryCapitalField, Withdrawal, 56);
ZRVD_AT(CZRVDHistoryCapitalField, DayProfitLoss, 64);
ZRVD_AT(CZRVDHistoryCapitalField, UnmaturedBondValue, 88);
ZRVD_AT(CZRVDHistoryCapitalField, FundMarketValue, 96);
ZRVD_AT(CZRVDHistoryCapitalField, OTCAsset, 104);
static_assert(sizeof(CZRVDCreditHistoryCapitalField) == 112, "CZRVDCreditHistoryCapitalField must be 112 bytes");
ZRVD_AT(CZRVDCreditHistoryCapitalField, TradingDay, 0);
ZRVD_AT(CZRVDCreditHistoryCapitalField, CustomerID, 9);
ZRVD_AT(CZRVDCreditHistoryCapitalField, TotalAsset, 24);
ZRVD_AT(CZRVDCreditHistoryCapitalField, CustomerFund, 32);
ZRVD_AT(CZRVDCreditHistoryCapitalField, TotalMarketValue, 40);
ZRVD_AT(CZRVDCreditHistoryCapitalField, Deposit, 48);
ZRVD_AT(CZRVDCreditHistoryCapitalField, Withdrawal, 56);
ZRVD_AT(CZRVDCreditHistoryCapitalField, DayProfitLoss, 64);
ZRVD_AT(CZRVDCreditHistoryCapitalField, TotalLiability, 88);
ZRVD_AT(CZRVDCreditHistoryCapitalField, NetAsset, 96);
ZRVD_AT(CZRVDCreditHistoryCapitalField, TotalInterest, 104);
static_assert(sizeof(CZRVDHistoryFundDetailField) == 320, "CZRVDHistoryFundDetailField must be 320 bytes");
ZRVD_AT(CZRVDHistoryFundDetailField, SerialNo, 0);
ZRVD_AT(CZRVDHistoryFundDetailField, TradingDay, 31);
ZRVD_AT(CZRVDHistoryFundDetailField, PostingTime, 40);
ZRVD_AT(CZRVDHistoryFundDetailField, CustomerID, 49);
ZRVD_AT(CZRVDHistoryFundDetailField, BusinessItem, 123);
ZRVD_AT(CZRVDHistoryFundDetailField, Deposit, 160);
ZRVD_AT(CZRVDHistoryFundDetailField, Withdrawal, 168);
ZRVD_AT(CZRVDHistoryFundDetailField, FundBalance, 176);
ZRVD_AT(CZRVDHistoryFundDetailField, Summary, 184);
ZRVD_AT(CZRVDHistoryFundDetailField, ExchangeCode, 265);
ZRVD_AT(CZRVDHistoryFundDetailField, SecurityID, 270);
static_assert(sizeof(CZRVDCreditHistoryFundDetailField) == 320, "CZRVDCreditHistoryFundDetailField must be 320 bytes");
ZRVD_AT(CZRVDCreditHistoryFundDetailField, SerialNo, 0);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, TradingDay, 31);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, PostingTime, 40);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, CustomerID, 49);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, BusinessItem, 123);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, Deposit, 160);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, Withdrawal, 168);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, FundBalance, 176);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, Summary, 184);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, ExchangeCode, 265);
ZRVD_AT(CZRVDCreditHistoryFundDetailField, SecurityID, 270);
static_assert(sizeof(CZRVDHistoryHoldField) == 224, "CZRVDHistoryHoldField must be 224 bytes");
ZRVD_AT(CZRVDHistoryHoldField, TradingDay, 0);
ZRVD_AT(CZRVDHistoryHoldField, CustomerID, 9);
ZRVD_AT(CZRVDHistoryHoldField, ShareholderID, 53);
ZRVD_AT(CZRVDHistoryHoldField, ExchangeCode, 64);
ZRVD_AT(CZRVDHistoryHoldField, SecurityID, 99);
ZRVD_AT(CZRVDHistoryHoldField, HoldVolume, 180);
ZRVD_AT(CZRVDHistoryHoldField, HoldCost, 192);
ZRVD_AT(CZRVDHistoryHoldField, AccumulatedProfitLoss, 200);
ZRVD_AT(CZRVDHistoryHoldField, OpenCostPrice, 216);
static_assert(sizeof(CZRVDCreditHistoryHoldField) == 224, "CZRVDCreditHistoryHoldField must be 224 bytes");
ZRVD_AT(CZRVDCreditHistoryHoldField, TradingDay, 0);
ZRVD_AT(CZRVDCreditHistoryHoldField, CustomerID, 9);
ZRVD_AT(CZRVDCreditHistoryHoldField, ShareholderID, 53);
ZRVD_AT(CZRVDCreditHistoryHoldField, ExchangeCode, 64);
ZRVD_AT(CZRVDCreditHistoryHoldField, SecurityID, 99);
ZRVD_AT(CZRVDCreditHistoryHoldField, HoldVolume, 180);
ZRVD_AT(CZRVDCreditHistoryHoldField, HoldCost, 192);
ZRVD_AT(CZRVDCreditHistoryHoldField, AccumulatedProfitLoss, 200);
ZRVD_AT(CZRVDCreditHistoryHoldField, OpenCostPrice, 216);
static_assert(sizeof(CZRVDHisShareProfitField) == 112, "CZRVDHisShareProfitField must be 112 bytes");
ZRVD_AT(CZRVDHisShareProfitField, CustomerID, 0);
ZRVD_AT(CZRVDHisShareProfitField, ExchangeID, 13);
ZRVD_AT(CZRVDHisShareProfitField, SecurityID, 14);
ZRVD_AT(CZRVDHisShareProfitField, BeginMarketValue, 48);
ZRVD_AT(CZRVDHisShareProfitField, EndMarketValue, 56);
ZRVD_AT(CZRVDHisShareProfitField, OpenAmount, 64);
ZRVD_AT(CZRVDHisShareProfitField, CloseAmount, 72);
ZRVD_AT(CZRVDHisShareProfitField, ProfitLoss, 80);
ZRVD_AT(CZRVDHisShareProfitField, EndDate, 88);
ZRVD_AT(CZRVDHisShareProfitField, BeginVolume, 100);
ZRVD_AT(CZRVDHisShareProfitField, EndVolume, 104);
static_assert(sizeof(CZRVDCreditHisShareProfitField) == 112, "CZRVDCreditHisShareProfitField must be 112 bytes");
ZRVD_AT(CZRVDCreditHisShareProfitField, CustomerID, 0);
ZRVD_AT(CZRVDCreditHisShareProfitField, ExchangeID, 13);
ZRVD_AT(CZRVDCreditHisShareProfitField, SecurityID, 14);
ZRVD_AT(CZRVDCreditHisShareProfitField, BeginMarketValue, 48);
ZRVD_AT(CZRVDCreditHisShareProfitField, EndMarketValue, 56);
ZRVD_AT(CZRVDCreditHisShareProfitField, OpenAmount, 64);
ZRVD_AT(CZRVDCreditHisShareProfitField, CloseAmount, 72);
ZRVD_AT(CZRVDCreditHisShareProfitField, ProfitLoss, 80);
ZRVD_AT(CZRVDCreditHisShareProfitField, EndDate, 88);
ZRVD_AT(CZRVDCreditHisShareProfitField, BeginVolume, 100);
ZRVD_AT(CZRVDCreditHisShareProfitField, EndVolume, 104);
} // namespace ZRVALUEADDPROAPI
#undef ZRVD_AT
