<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>VEK_SC_Space::Util</name>
    <message>
        <source>买入</source>
        <translation>Buy</translation>
    </message>
    <message>
        <source>卖出</source>
        <translation>Sell</translation>
    </message>
    <message>
        <source>ETF申购</source>
        <translation>ETF sub.</translation>
    </message>
    <message>
        <source>ETF赎回</source>
        <translation>ETF red.</translation>
    </message>
    <message>
        <source>新股申购</source>
        <translation>IPO sub.</translation>
    </message>
    <message>
        <source>配股认购</source>
        <translation>Rights</translation>
    </message>
    <message>
        <source>逆回购</source>
        <translation>Rev. repo</translation>
    </message>
    <message>
        <source>融资买入</source>
        <translation>Mgn buy</translation>
    </message>
    <message>
        <source>融券卖出</source>
        <translation>Short sell</translation>
    </message>
    <message>
        <source>买券还券</source>
        <translation>Cover</translation>
    </message>
    <message>
        <source>直接还款</source>
        <translation>Repay</translation>
    </message>
    <message>
        <source>直接还券</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>担保品划入</source>
        <translation>Collat in</translation>
    </message>
    <message>
        <source>平仓买券还券</source>
        <translation>Liq. cover</translation>
    </message>
    <message>
        <source>卖券还款</source>
        <translation>Sell repay</translation>
    </message>
    <message>
        <source>平仓卖出</source>
        <translation>Liq. sell</translation>
    </message>
    <message>
        <source>平仓卖券还款</source>
        <translation>Liq. repay</translation>
    </message>
    <message>
        <source>担保品划出</source>
        <translation>Collat out</translation>
    </message>
    <message>
        <source>已报</source>
        <translation>Reported</translation>
    </message>
    <message>
        <source>已撤</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>部分成交</source>
        <translation>Part filled</translation>
    </message>
    <message>
        <source>全部成交</source>
        <translation>Filled</translation>
    </message>
    <message>
        <source>待撤</source>
        <translation>Cancelling</translation>
    </message>
    <message>
        <source>废单</source>
        <translation>Invalid</translation>
    </message>
    <message>
        <source>部成部撤</source>
        <translation>Part cancelled</translation>
    </message>
    <message>
        <source>已拒绝</source>
        <translation>Rejected</translation>
    </message>
    <message>
        <source>未报</source>
        <translation>Not reported</translation>
    </message>
    <message>
        <source>上交所</source>
        <translation>SSE</translation>
    </message>
    <message>
        <source>深交所</source>
        <translation>SZSE</translation>
    </message>
    <message>
        <source>北交所</source>
        <translation>BSE</translation>
    </message>
    <message>
        <source>限价</source>
        <translation>Limit</translation>
    </message>
    <message>
        <source>限价全额成交或撤销</source>
        <translation>Limit FOK</translation>
    </message>
    <message>
        <source>最优五档即时成交剩余撤销</source>
        <translation>Best 5 IOC</translation>
    </message>
    <message>
        <source>最优五档即时成交剩余转限价</source>
        <translation>Best 5 limit</translation>
    </message>
    <message>
        <source>对手方最优价格</source>
        <translation>Best opposite</translation>
    </message>
    <message>
        <source>本方最优价格</source>
        <translation>Best own</translation>
    </message>
    <message>
        <source>即时成交剩余撤销</source>
        <translation>Market IOC</translation>
    </message>
    <message>
        <source>全额成交或撤销</source>
        <translation>Market FOK</translation>
    </message>
    <message>
        <source>盘后固定价格</source>
        <translation>After-hours</translation>
    </message>
    <message>
        <source>(保护限价)</source>
        <translation> (protected)</translation>
    </message>
    <message>
        <source>未知(%1)</source>
        <translation>Unknown (%1)</translation>
    </message>
</context>
</TS>
