#include "HistoryGenerator.h"

#include "../SecurityTable.h"
#include "ApiCodes.h"
#include "RecordTypes.h"

#include <array>
#include <cmath>
#include <cstring>

namespace VEK_SC_Space {

namespace ZR = ZRVALUEADDPROAPI;
using namespace ApiCodes;

namespace {

quint64 mix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

quint64 hashBytes(const char* data, std::size_t size, quint64 hash = 14695981039346656037ull)
{
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ull;
    return hash;
}

class Random
{
public:
    explicit Random(quint64 seed)
        : state(seed) {}

    quint64 next() { return mix(state++); }
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double between(double low, double high) { return low + uniform() * (high - low); }
    int range(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    bool chance(double probability) { return uniform() < probability; }

    template <typename T, std::size_t N>
    T weighted(const std::pair<T, int> (&options)[N])
    {
        int total = 0;
        for (const auto& option : options)
            total += option.second;
        int roll = range(0, total - 1);
        for (const auto& option : options) {
            if (roll < option.second)
                return option.first;
            roll -= option.second;
        }
        return options[N - 1].first;
    }

private:
    quint64 state;
};

double round2(double value) { return std::round(value * 100.0) / 100.0; }
double round3(double value) { return std::round(value * 1000.0) / 1000.0; }

// Copies the text and pads the field with NULs; a text too long for the room is cut at a
// character boundary so that the field stays valid UTF-8 and always ends in a NUL.
template <std::size_t N>
void putText(char (&field)[N], const QByteArray& text)
{
    int length = qMin(text.size(), int(N) - 1);
    while (length > 0 && length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(field, text.constData(), std::size_t(length));
    std::memset(field + length, 0, N - std::size_t(length));
}

QByteArray digits(Random& random, int count)
{
    QByteArray text(count, '0');
    for (char& digit : text)
        digit = char('0' + random.range(0, 9));
    return text;
}

void putDigits(char* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = char('0' + value % 10);
}

QByteArray dateText(const QDate& date)
{
    char text[8];
    putDigits(text, date.year() % 10000, 4);
    putDigits(text + 4, date.month(), 2);
    putDigits(text + 6, date.day(), 2);
    return QByteArray(text, 8);
}

// Trading session time: the first two hours run from 09:30, the last two from 13:00.
QByteArray clockText(int sessionMs, bool withMillis)
{
    const int ms = sessionMs < 7200000 ? 34200000 + sessionMs : 46800000 + (sessionMs - 7200000);
    char text[12] = {0, 0, ':', 0, 0, ':', 0, 0, '.'};
    putDigits(text, ms / 3600000, 2);
    putDigits(text + 3, ms / 60000 % 60, 2);
    putDigits(text + 6, ms / 1000 % 60, 2);
    putDigits(text + 9, ms % 1000, 3);
    return QByteArray(text, withMillis ? 12 : 8);
}

// --- securities and their market -----------------------------------------------------------

const QVector<const SecurityInfo*>& securitiesOf(SecurityCategory category)
{
    static const auto byCategory = [] {
        std::array<QVector<const SecurityInfo*>, 4> lists;
        for (int i = 0; i < SecurityTable::size(); ++i)
            lists[std::size_t(SecurityTable::at(i).category)].append(&SecurityTable::at(i));
        return lists;
    }();
    return byCategory[std::size_t(category)];
}

const SecurityInfo& pickFrom(Random& random, SecurityCategory category)
{
    const auto& list = securitiesOf(category);
    return *list.at(random.range(0, list.size() - 1));
}

quint64 hashOf(const SecurityInfo& security)
{
    return hashBytes(security.code, std::strlen(security.code), quint64(security.exchange));
}

double tickOf(const SecurityInfo& security)
{
    return security.category == SecurityCategory::Stock ? 0.01 : 0.001;
}

double onTick(const SecurityInfo& security, double price)
{
    const double tick = tickOf(security);
    return qMax(tick, std::round(price / tick) * tick);
}

double basePrice(const SecurityInfo& security)
{
    const double u = double(mix(hashOf(security)) >> 11) * (1.0 / 9007199254740992.0);
    switch (security.category) {
    case SecurityCategory::Stock: return std::exp(std::log(3.0) + u * (std::log(120.0) - std::log(3.0)));
    case SecurityCategory::Fund: return 0.6 + u * 4.4;
    case SecurityCategory::Bond: return 100.0 + u * 50.0;
    case SecurityCategory::Repo: return 1.2 + u * 2.3;
    }
    return 10.0;
}

double priceOn(const SecurityInfo& security, int day)
{
    const double phase = double(hashOf(security) % 628) / 100.0;
    return basePrice(security) * (1.0 + 0.12 * std::sin(day * 0.21 + phase));
}

int lotOf(const SecurityInfo& security)
{
    switch (security.category) {
    case SecurityCategory::Bond: return 10;
    case SecurityCategory::Repo: return security.exchange == ExchangeSH ? 1000 : 10;
    default: return 100;
    }
}

int lotsToTrade(Random& random, const SecurityInfo& security)
{
    return security.category == SecurityCategory::Repo ? random.range(1, 10) : random.range(1, 50);
}

// Bonds are priced per 100 yuan of face value and traded in units of that; a repo's price is
// its rate, its amount the face value lent.
double amountOf(const SecurityInfo& security, double price, int volume)
{
    return round2(security.category == SecurityCategory::Repo ? volume * 100.0 : price * volume);
}

bool isEtf(const SecurityInfo& security)
{
    return security.category == SecurityCategory::Fund
        && (qstrncmp(security.code, "51", 2) == 0 || qstrncmp(security.code, "58", 2) == 0
            || qstrncmp(security.code, "159", 3) == 0);
}

bool hasAfterHoursTrading(const SecurityInfo& security)
{
    return qstrncmp(security.code, "688", 3) == 0 || qstrncmp(security.code, "300", 3) == 0
        || qstrncmp(security.code, "301", 3) == 0;
}

QByteArray exchangeLetters(char exchange)
{
    switch (exchange) {
    case ExchangeSH: return QByteArrayLiteral("SH");
    case ExchangeSZ: return QByteArrayLiteral("SZ");
    default: return QByteArrayLiteral("BJ");
    }
}

struct Fees
{
    double commission = 0;
    double stampTax = 0;
    double transferFee = 0;
    double regulatoryFee = 0;
    double total() const { return commission + stampTax + transferFee + regulatoryFee; }
};

Fees feesOf(const SecurityInfo& security, double amount, bool sellSide)
{
    Fees fees;
    switch (security.category) {
    case SecurityCategory::Stock:
        fees.commission = round2(qMax(5.0, amount * 0.00025));
        fees.stampTax = sellSide ? round2(amount * 0.0005) : 0.0;
        fees.transferFee = round2(amount * 0.00001);
        fees.regulatoryFee = round2(amount * 0.0000541);
        break;
    case SecurityCategory::Fund:
        fees.commission = round2(qMax(0.1, amount * 0.0001));
        fees.regulatoryFee = round2(amount * 0.0000487);
        break;
    case SecurityCategory::Bond:
        fees.commission = round2(qMax(0.1, amount * 0.00005));
        break;
    case SecurityCategory::Repo:
        fees.commission = round2(amount * 0.00001);
        break;
    }
    return fees;
}

bool isSellSide(char direction)
{
    switch (direction) {
    case DirectionSell:
    case DirectionShortSell:
    case DirectionSellToRepay:
    case DirectionForcedSell:
    case DirectionForcedSellToRepay:
        return true;
    default:
        return false;
    }
}

// --- one record ----------------------------------------------------------------------------

struct RecordContext
{
    const HistoryGenerator::Account& account;
    Random random;
    int day; // trading day index within the window
    QDate date;
    QByteArray date8; // yyyyMMdd
    int slot;         // position among the records of its day
    int sessionMs;    // time within the trading session, increasing with the slot

    bool credit() const { return account.accountType == 2; }
    const QByteArray& holder(char exchange) const
    {
        return exchange == ExchangeSH ? account.shanghaiHolder : account.shenzhenHolder;
    }
    QByteArray time(bool withMillis) const { return clockText(sessionMs, withMillis); }
};

const SecurityInfo& pickTraded(RecordContext& c)
{
    if (c.credit()) {
        return pickFrom(c.random, c.random.chance(0.85) ? SecurityCategory::Stock : SecurityCategory::Fund);
    }
    static const std::pair<SecurityCategory, int> categories[] = {
        {SecurityCategory::Stock, 76},
        {SecurityCategory::Fund, 14},
        {SecurityCategory::Bond, 5},
        {SecurityCategory::Repo, 5},
    };
    return pickFrom(c.random, c.random.weighted(categories));
}

char tradeDirection(RecordContext& c, const SecurityInfo& security)
{
    if (c.credit()) {
        static const std::pair<char, int> directions[] = {
            {DirectionBuy, 30},
            {DirectionSell, 25},
            {DirectionMarginBuy, 18},
            {DirectionShortSell, 7},
            {DirectionBuyToReturn, 5},
            {DirectionSellToRepay, 10},
            {DirectionForcedSell, 2},
            {DirectionForcedSellToRepay, 2},
            {DirectionForcedBuyToReturn, 1},
        };
        return c.random.weighted(directions);
    }
    if (security.category == SecurityCategory::Repo)
        return DirectionReverseRepo;
    return c.random.chance(0.55) ? DirectionBuy : DirectionSell;
}

const char* directionText(const RecordContext& c, char direction)
{
    return (c.credit() ? creditDirections() : stockDirections()).text(direction);
}

// The securities an account holds: slot n of every day is the same holding, so that positions
// and profits read as one portfolio through time.
struct Holding
{
    const SecurityInfo* security;
    int baseLots;
    double costPrice;
};

Holding holdingOf(const HistoryGenerator::Account& account, int slot)
{
    Random random(mix(account.seed ^ 0x484F4C44ull) ^ mix(quint64(slot)));
    Holding holding;
    holding.security = &pickFrom(random, random.chance(0.85) ? SecurityCategory::Stock : SecurityCategory::Fund);
    holding.baseLots = random.range(1, 200);
    holding.costPrice = round3(onTick(*holding.security, basePrice(*holding.security) * random.between(0.8, 1.2)));
    return holding;
}

int lotsOn(const Holding& holding, int day, int slot)
{
    return qMax(0, holding.baseLots + int(std::lround(holding.baseLots * 0.2 * std::sin(day * 0.3 + slot))));
}

// --- record kinds --------------------------------------------------------------------------

QByteArray orderStatusMessage(Random& random, char status, bool sellSide)
{
    switch (status) {
    case StatusFilled: return QByteArrayLiteral("全部成交");
    case StatusCancelled: return QByteArrayLiteral("已撤单");
    case StatusPartlyCancelled: return QByteArrayLiteral("部分成交，剩余已撤单");
    case StatusPartlyFilled: return QByteArrayLiteral("部分成交，收市未成交部分自动失效");
    case StatusRejected: return QByteArrayLiteral("交易所拒绝：申报价格超出有效申报范围");
    default:
        if (random.chance(0.3))
            return QByteArrayLiteral("委托价格超出涨跌停限制");
        return sellSide ? QByteArrayLiteral("可用股份不足") : QByteArrayLiteral("可用资金不足");
    }
}

template <typename Record>
void fillOrder(Record& r, RecordContext& c)
{
    Random& random = c.random;
    const SecurityInfo& security = pickTraded(c);
    char direction = tradeDirection(c, security);
    if (!c.credit() && isEtf(security) && random.chance(0.05))
        direction = random.chance(0.5) ? DirectionEtfSubscribe : DirectionEtfRedeem;
    const bool creation = direction == DirectionEtfSubscribe || direction == DirectionEtfRedeem;
    const bool sellSide = isSellSide(direction);

    char type = PriceLimit;
    char variant = '0';
    char protection = PriceAuxNone;
    if (security.category == SecurityCategory::Stock && random.chance(0.12)) {
        type = PriceMarket;
        if (security.exchange == ExchangeSH) {
            variant = random.chance(0.5) ? 'a' : 'b';
            protection = random.chance(0.5) ? PriceProtected : PriceAuxNone;
        } else {
            static const char shenzhenVariants[] = {'a', 'c', 'd', 'e', 'f'};
            variant = shenzhenVariants[random.range(0, 4)];
        }
    } else if (hasAfterHoursTrading(security) && random.chance(0.03)) {
        type = PriceAfterHours;
    } else if (security.exchange == ExchangeSZ && random.chance(0.02)) {
        variant = 'f';
    }

    const int lot = creation ? 1000000 : lotOf(security);
    const int lots = creation ? 1 : lotsToTrade(random, security);
    const int volume = lot * lots;
    const double reference = onTick(security, priceOn(security, c.day) * random.between(0.99, 1.01));
    double orderPrice = onTick(security, reference * (1.0 + (sellSide ? -1.0 : 1.0) * random.between(0.0, 0.01)));
    if (creation || (type == PriceMarket && protection != PriceProtected))
        orderPrice = 0.0;
    else if (type == PriceMarket)
        orderPrice = onTick(security, reference * (sellSide ? 0.98 : 1.02));

    static const std::pair<char, int> statuses[] = {
        {StatusFilled, 62},
        {StatusCancelled, 16},
        {StatusPartlyCancelled, 9},
        {StatusInvalid, 6},
        {StatusPartlyFilled, 4},
        {StatusRejected, 3},
    };
    char status = creation ? StatusFilled : random.weighted(statuses);
    if ((status == StatusPartlyCancelled || status == StatusPartlyFilled) && lots < 2)
        status = StatusFilled;
    int traded = 0;
    if (status == StatusFilled)
        traded = volume;
    else if (status == StatusPartlyCancelled || status == StatusPartlyFilled)
        traded = lot * random.range(1, lots - 1);

    putText(r.CustomerID, c.account.customerId);
    putText(r.SecurityID, security.code);
    r.PriceType = type;
    r.Direction = direction;
    r.OrderPrice = orderPrice;
    r.OrderVolume = volume;
    r.PriceTypeAux1 = variant;
    r.PriceTypeAux2 = protection;
    r.ExchangeID = security.exchange;
    putText(r.ShareholderID, c.holder(security.exchange));
    r.OrderStatus = status;
    r.TradedVolume = traded;
    putText(r.OrderDate, c.date8);
    putText(r.OrderTime, c.time(true));
    putText(r.StatusMsg, orderStatusMessage(random, status, sellSide));
    r.TradedAmount = creation ? 0.0 : amountOf(security, reference, traded);
}

template <typename Record>
void fillTrade(Record& r, RecordContext& c)
{
    Random& random = c.random;
    const SecurityInfo& security = pickTraded(c);
    const char direction = tradeDirection(c, security);
    const double price = onTick(security, priceOn(security, c.day) * random.between(0.99, 1.01));
    const int volume = lotOf(security) * lotsToTrade(random, security);
    const Fees fees = feesOf(security, amountOf(security, price, volume), isSellSide(direction));

    putText(r.CustomerID, c.account.customerId);
    putText(r.SecurityID, security.code);
    r.ExchangeID = security.exchange;
    putText(r.TradeID, QByteArray::number(qulonglong(1000000000ull + random.next() % 9000000000ull)));
    r.Direction = direction;
    putText(r.ShareholderID, c.holder(security.exchange));
    r.TradePrice = price;
    r.TradeVolume = volume;
    putText(r.TradeDate, c.date8);
    putText(r.TradeTime, c.time(false));
    r.Commission = fees.commission;
}

void putSerial(char (&field)[13], const RecordContext& c)
{
    putText(field, c.date8.mid(2) + QByteArray::number(c.slot % 1000000).rightJustified(6, '0'));
}

void putSerial(int32_t& field, const RecordContext& c)
{
    field = int32_t((c.day % 2000 + 1) * 1000000 + c.slot % 1000000);
}

template <typename Record>
void fillDelivery(Record& r, RecordContext& c)
{
    Random& random = c.random;
    const SecurityInfo& security = pickTraded(c);
    const char direction = tradeDirection(c, security);
    const bool sellSide = isSellSide(direction);
    const double price = onTick(security, priceOn(security, c.day) * random.between(0.99, 1.01));
    const int lot = lotOf(security);
    const int volume = lot * lotsToTrade(random, security);
    const double amount = amountOf(security, price, volume);
    const Fees fees = feesOf(security, amount, sellSide);
    const double openCost = sellSide ? onTick(security, price * random.between(0.85, 1.12)) : price;

    putText(r.CustomerID, c.account.customerId);
    putText(r.TradeDate, c.date8);
    putText(r.TradeTime, c.time(false));
    putText(r.SecurityID, security.code);
    putText(r.SecurityName, security.name);
    putText(r.ExchangeName, exchanges().text(security.exchange));
    putText(r.DirectionName, directionText(c, direction));
    r.NetAmount = round2(sellSide ? amount - fees.total() : -(amount + fees.total()));
    r.TradeAmount = amount;
    r.TradeVolume = volume;
    r.TradePrice = price;
    r.StampTax = fees.stampTax;
    r.TransferFee = fees.transferFee;
    r.Commission = fees.commission;
    r.RegulatoryFee = fees.regulatoryFee;
    putSerial(r.SerialNo, c);
    putText(r.ShareholderID, c.holder(security.exchange));
    r.ShareBalance = (sellSide ? 0 : volume) + lot * random.range(0, 50);
    r.FundBalance = round2(c.account.scale * random.between(0.05, 0.6));
    r.OpenCostPrice = openCost;
    r.CloseProfitLoss = sellSide ? round2((price - openCost) * volume - fees.total()) : 0.0;
}

struct CapitalFigures
{
    double fund;
    double marketValue;
    double phase;
};

template <typename Record>
CapitalFigures fillCapitalCommon(Record& r, RecordContext& c)
{
    Random& random = c.random;
    const double scale = c.account.scale;
    CapitalFigures figures;
    figures.phase = double(c.account.seed % 628) / 100.0;
    figures.marketValue = round2(scale * (0.55 + 0.15 * std::sin(c.day * 0.17 + figures.phase)) * random.between(0.997, 1.003));
    figures.fund = round2(scale * (0.35 + 0.10 * std::cos(c.day * 0.11 + figures.phase)));

    putText(r.TradingDay, c.date8);
    putText(r.CustomerID, c.account.customerId);
    r.CustomerFund = figures.fund;
    r.TotalMarketValue = figures.marketValue;
    r.Deposit = random.chance(0.1) ? 100.0 * random.range(10, 500) : 0.0;
    r.Withdrawal = random.chance(0.06) ? 100.0 * random.range(10, 300) : 0.0;
    r.DayProfitLoss = round2(figures.marketValue * random.between(-0.025, 0.025));
    return figures;
}

void fillCapital(ZR::CZRVDHistoryCapitalField& r, RecordContext& c)
{
    const CapitalFigures figures = fillCapitalCommon(r, c);
    const double scale = c.account.scale;
    r.UnmaturedBondValue = (c.account.seed & 1) ? round2(scale * 0.04) : 0.0;
    r.FundMarketValue = round2(figures.marketValue * 0.15);
    r.OTCAsset = (c.account.seed & 2) ? round2(scale * 0.02) : 0.0;
    r.TotalAsset = round2(figures.fund + figures.marketValue + r.OTCAsset);
}

void fillCapital(ZR::CZRVDCreditHistoryCapitalField& r, RecordContext& c)
{
    const CapitalFigures figures = fillCapitalCommon(r, c);
    r.TotalAsset = round2(figures.fund + figures.marketValue);
    r.TotalLiability = round2(c.account.scale * (0.25 + 0.08 * std::sin(c.day * 0.09 + figures.phase)));
    r.NetAsset = round2(r.TotalAsset - r.TotalLiability);
    r.TotalInterest = round2(r.TotalLiability * 0.0835 * (c.day + 1) / 360.0);
}

enum class Flow { Buy,
                  Sell,
                  BankIn,
                  BankOut,
                  Interest,
                  Dividend,
                  DividendTax,
                  MarginBuy,
                  SellToRepay,
                  DirectRepay,
                  MarginInterest };

const char* flowItem(Flow flow)
{
    switch (flow) {
    case Flow::Buy: return "证券买入";
    case Flow::Sell: return "证券卖出";
    case Flow::BankIn: return "银行转证券";
    case Flow::BankOut: return "证券转银行";
    case Flow::Interest: return "利息归本";
    case Flow::Dividend: return "股息入账";
    case Flow::DividendTax: return "股息红利差异扣税";
    case Flow::MarginBuy: return "融资买入";
    case Flow::SellToRepay: return "卖券还款";
    case Flow::DirectRepay: return "直接还款";
    case Flow::MarginInterest: return "融资利息扣收";
    }
    return "";
}

bool concernsSecurity(Flow flow)
{
    switch (flow) {
    case Flow::Buy:
    case Flow::Sell:
    case Flow::Dividend:
    case Flow::DividendTax:
    case Flow::MarginBuy:
    case Flow::SellToRepay:
        return true;
    default:
        return false;
    }
}

template <typename Record>
void fillFundDetail(Record& r, RecordContext& c)
{
    Random& random = c.random;
    static const std::pair<Flow, int> stockFlows[] = {
        {Flow::Buy, 35},
        {Flow::Sell, 30},
        {Flow::BankIn, 10},
        {Flow::BankOut, 8},
        {Flow::Interest, 7},
        {Flow::Dividend, 6},
        {Flow::DividendTax, 4},
    };
    static const std::pair<Flow, int> creditFlows[] = {
        {Flow::Buy, 25},
        {Flow::Sell, 20},
        {Flow::MarginBuy, 15},
        {Flow::SellToRepay, 10},
        {Flow::DirectRepay, 6},
        {Flow::MarginInterest, 4},
        {Flow::BankIn, 8},
        {Flow::BankOut, 6},
        {Flow::Interest, 3},
        {Flow::Dividend, 2},
        {Flow::DividendTax, 1},
    };
    static const char* const banks[] = {"工商银行", "建设银行", "招商银行", "农业银行", "中国银行", "交通银行"};

    const Flow flow = c.credit() ? random.weighted(creditFlows) : random.weighted(stockFlows);
    const SecurityInfo& security = pickFrom(random, random.chance(0.85) ? SecurityCategory::Stock : SecurityCategory::Fund);
    const QString name = QString::fromUtf8(security.name);
    const double price = onTick(security, priceOn(security, c.day));
    const int volume = lotOf(security) * random.range(1, 50);
    const double amount = amountOf(security, price, volume);
    const Fees fees = feesOf(security, amount, flow == Flow::Sell || flow == Flow::SellToRepay);
    const QString item = QString::fromUtf8(flowItem(flow));

    double deposit = 0;
    double withdrawal = 0;
    QString summary;
    switch (flow) {
    case Flow::Buy:
    case Flow::Sell:
    case Flow::SellToRepay:
        (flow == Flow::Buy ? withdrawal : deposit) = round2(flow == Flow::Buy ? amount + fees.total() : amount - fees.total());
        summary = QStringLiteral("%1 %2 %3股 成交价%4").arg(item, name).arg(volume).arg(price, 0, 'f', 3);
        break;
    case Flow::MarginBuy:
        withdrawal = fees.total();
        summary = QStringLiteral("%1 %2 %3股 融资金额%4").arg(item, name).arg(volume).arg(amount, 0, 'f', 2);
        break;
    case Flow::BankIn:
    case Flow::BankOut:
        (flow == Flow::BankIn ? deposit : withdrawal) = 100.0 * random.range(10, 2000);
        summary = QStringLiteral("银证转账 %1").arg(QString::fromUtf8(banks[random.range(0, 5)]));
        break;
    case Flow::Interest:
        deposit = round2(c.account.scale * 0.35 * 0.0035 / 4.0);
        summary = QStringLiteral("活期利息归本");
        break;
    case Flow::Dividend: {
        const double perTen = random.range(5, 60) / 10.0;
        deposit = round2(volume * perTen / 10.0);
        summary = QStringLiteral("%1 红利发放 10派%2元").arg(name).arg(perTen, 0, 'f', 1);
        break;
    }
    case Flow::DividendTax:
        withdrawal = round2(volume * random.range(5, 60) / 100.0 * 0.1);
        summary = QStringLiteral("%1 股息红利差异化个税补扣").arg(name);
        break;
    case Flow::DirectRepay:
        withdrawal = 100.0 * random.range(10, 1000);
        summary = QStringLiteral("直接还款 归还融资负债");
        break;
    case Flow::MarginInterest:
        withdrawal = round2(c.account.scale * 0.25 * 0.0835 / 12.0);
        summary = QStringLiteral("融资利息结息扣收");
        break;
    }

    putText(r.SerialNo, c.date8 + QByteArray::number(c.slot).rightJustified(6, '0'));
    putText(r.TradingDay, c.date8);
    putText(r.PostingTime, c.time(false));
    putText(r.CustomerID, c.account.customerId);
    putText(r.BusinessItem, item.toUtf8());
    r.Deposit = deposit;
    r.Withdrawal = withdrawal;
    r.FundBalance = round2(c.account.scale * (0.35 + 0.1 * std::cos(c.day * 0.11)) * random.between(0.95, 1.05));
    putText(r.Summary, summary.toUtf8());
    if (concernsSecurity(flow)) {
        putText(r.ExchangeCode, exchangeLetters(security.exchange));
        putText(r.SecurityID, security.code);
    }
}

template <typename Record>
void fillPosition(Record& r, RecordContext& c)
{
    const Holding holding = holdingOf(c.account, c.slot);
    const SecurityInfo& security = *holding.security;
    const bool cleared = c.random.chance(0.05);
    const int volume = cleared ? 0 : lotsOn(holding, c.day, c.slot) * 100;
    const double price = priceOn(security, c.day);

    putText(r.TradingDay, c.date8);
    putText(r.CustomerID, c.account.customerId);
    putText(r.ShareholderID, c.holder(security.exchange));
    putText(r.ExchangeCode, exchangeLetters(security.exchange));
    putText(r.SecurityID, security.code);
    r.HoldVolume = volume;
    r.HoldCost = round2(holding.costPrice * volume);
    r.AccumulatedProfitLoss = round2((price - holding.costPrice) * (volume > 0 ? volume : holding.baseLots * 100));
    r.OpenCostPrice = round3(holding.costPrice * c.random.between(0.97, 1.03));
}

template <typename Record>
void fillProfit(Record& r, RecordContext& c)
{
    Random& random = c.random;
    const Holding holding = holdingOf(c.account, c.slot);
    const SecurityInfo& security = *holding.security;
    const int beginLots = lotsOn(holding, qMax(0, c.day - 5), c.slot);
    const int endLots = qMax(0, beginLots + random.range(-beginLots, 30));
    const int churn = random.range(0, 10);
    const double beginPrice = priceOn(security, qMax(0, c.day - 5));
    const double endPrice = priceOn(security, c.day);
    const double average = (beginPrice + endPrice) / 2.0;

    putText(r.CustomerID, c.account.customerId);
    r.ExchangeID = security.exchange;
    putText(r.SecurityID, security.code);
    r.BeginVolume = beginLots * 100;
    r.EndVolume = endLots * 100;
    r.BeginMarketValue = round2(r.BeginVolume * beginPrice);
    r.EndMarketValue = round2(r.EndVolume * endPrice);
    r.OpenAmount = round2((qMax(0, endLots - beginLots) + churn) * 100 * average);
    r.CloseAmount = round2((qMax(0, beginLots - endLots) + churn) * 100 * average);
    r.ProfitLoss = round2(r.EndMarketValue - r.BeginMarketValue - r.OpenAmount + r.CloseAmount);
    putText(r.EndDate, c.date8);
}

QDate previousWeekday(const QDate& date)
{
    QDate day = date;
    while (day.dayOfWeek() > 5)
        day = day.addDays(-1);
    return day;
}

void fillDebt(ZR::CZRVDCreditHistoryDebtInfoField& r, RecordContext& c)
{
    enum EntrustType { MarginBuy = 61,
                       SellToRepay = 62,
                       BuyToReturn = 63,
                       ShortSell = 64,
                       ForcedCloseFinancing = 71,
                       ForcedCloseShort = 72,
                       DirectRepay = 73 };
    static const std::pair<int, int> types[] = {
        {MarginBuy, 40},
        {ShortSell, 18},
        {SellToRepay, 14},
        {BuyToReturn, 8},
        {DirectRepay, 10},
        {ForcedCloseFinancing, 5},
        {ForcedCloseShort, 3},
    };
    Random& random = c.random;
    const int type = random.weighted(types);
    const SecurityInfo& security = pickTraded(c);
    const double price = onTick(security, priceOn(security, c.day));
    const int lots = random.range(1, 50);
    const int volume = lotOf(security) * lots;
    const double amount = amountOf(security, price, volume);
    const bool opensDebt = type == MarginBuy || type == ShortSell;
    const QDate openDate = opensDebt ? c.date : previousWeekday(c.date.addDays(-random.range(1, 60)));

    putText(r.TradeDate, c.date8);
    putText(r.CustomerID, c.account.customerId);
    putText(r.OpenDate, dateText(openDate));
    r.EntrustType = type;
    r.ExchangeID = security.exchange;
    putText(r.ShareholderID, c.holder(security.exchange));
    putText(r.SecurityID, security.code);

    if (opensDebt) {
        (type == MarginBuy ? r.FinancedVolume : r.ShortVolume) = volume;
        r.DebtAmount = round2(amount + feesOf(security, amount, type == ShortSell).total());
        const double rate = type == MarginBuy ? 0.0835 : 0.1035;
        r.ExtraDebtAmount = round2(r.DebtAmount * rate * random.range(1, 90) / 360.0);
        const bool settled = random.chance(0.45);
        r.DebtStatus = settled ? 3 : 0;
        r.RepaidVolume = settled ? volume : (random.chance(0.3) ? lotOf(security) * random.range(0, lots - 1) : 0);
        r.RepaidAmount = settled ? round2(r.DebtAmount + r.ExtraDebtAmount)
                                 : round2(r.DebtAmount * r.RepaidVolume / volume);
        return;
    }
    r.DebtAmount = amount;
    r.RepaidAmount = amount;
    r.DebtStatus = 3;
    if (type == BuyToReturn || type == ForcedCloseShort)
        r.RepaidVolume = volume;
    else if (type != DirectRepay)
        r.FinancedVolume = volume;
}

void fill(ZR::CZRVDHistoryOrderEXField& r, RecordContext& c) { fillOrder(r, c); }
void fill(ZR::CZRVDCreditHistoryOrderEXField& r, RecordContext& c) { fillOrder(r, c); }
void fill(ZR::CZRVDHistoryTradeEXField& r, RecordContext& c) { fillTrade(r, c); }
void fill(ZR::CZRVDCreditHistoryTradeEXField& r, RecordContext& c) { fillTrade(r, c); }
void fill(ZR::CZRVDHistoryDeliveryField& r, RecordContext& c) { fillDelivery(r, c); }
void fill(ZR::CZRVDCreditHistoryDeliveryField& r, RecordContext& c) { fillDelivery(r, c); }
void fill(ZR::CZRVDHistoryCapitalField& r, RecordContext& c) { fillCapital(r, c); }
void fill(ZR::CZRVDCreditHistoryCapitalField& r, RecordContext& c) { fillCapital(r, c); }
void fill(ZR::CZRVDHistoryFundDetailField& r, RecordContext& c) { fillFundDetail(r, c); }
void fill(ZR::CZRVDCreditHistoryFundDetailField& r, RecordContext& c) { fillFundDetail(r, c); }
void fill(ZR::CZRVDHistoryHoldField& r, RecordContext& c) { fillPosition(r, c); }
void fill(ZR::CZRVDCreditHistoryHoldField& r, RecordContext& c) { fillPosition(r, c); }
void fill(ZR::CZRVDHisShareProfitField& r, RecordContext& c) { fillProfit(r, c); }
void fill(ZR::CZRVDCreditHisShareProfitField& r, RecordContext& c) { fillProfit(r, c); }
void fill(ZR::CZRVDCreditHistoryDebtInfoField& r, RecordContext& c) { fillDebt(r, c); }

} // namespace

HistoryGenerator::HistoryGenerator(const QString& investorId, int accountType, const HistoryWindow& days)
    : window(days)
{
    account.seed = seedOf(investorId);
    account.accountType = accountType;
    account.customerId = investorId.toUtf8();
    Random random(mix(account.seed ^ 0x4143434Full));
    const bool credit = accountType == 2;
    account.shanghaiHolder = (credit ? QByteArrayLiteral("E") : QByteArrayLiteral("A")) + digits(random, 9);
    account.shenzhenHolder = credit ? QByteArrayLiteral("06") + digits(random, 8)
                                    : QByteArray("0") + char('0' + random.range(0, 2)) + digits(random, 8);
    account.scale = std::round(std::exp(random.between(std::log(5.0e4), std::log(5.0e6))));
}

quint64 HistoryGenerator::seedOf(const QString& investorId)
{
    const QByteArray bytes = investorId.toUtf8();
    return mix(hashBytes(bytes.constData(), std::size_t(bytes.size())));
}

bool HistoryGenerator::holds(HistoryKind kind, int accountType)
{
    if (accountType != 1 && accountType != 2)
        return false;
    return kind != HistoryKind::CreditDebt || accountType == 2;
}

void* HistoryGenerator::makeRecord(HistoryKind kind, qint64 index) const
{
    const int day = window.dayOf(index);
    const qint64 first = window.firstRecordOf(day);
    const qint64 onDay = window.firstRecordOf(day + 1) - first;
    const qint64 slot = index - first;
    Random random(mix(account.seed ^ mix(quint64(kind) + 1)) ^ mix(quint64(index)));
    const qint64 spacing = 14400000 / onDay;
    const int sessionMs = int(slot * 14400000 / onDay + (spacing > 1 ? qint64(random.next() % quint64(spacing)) : 0));
    if (dayTexts.size() != window.tradingDayCount())
        dayTexts.resize(window.tradingDayCount());
    if (dayTexts.at(day).isEmpty())
        dayTexts[day] = dateText(window.tradingDay(day));
    RecordContext context{account, random, day, window.tradingDay(day), dayTexts.at(day), int(slot), sessionMs};

    return withRecordType(kind, account.accountType, [&context](auto tag) -> void* {
        auto* record = new typename decltype(tag)::type();
        fill(*record, context);
        return record;
    });
}

} // namespace VEK_SC_Space
