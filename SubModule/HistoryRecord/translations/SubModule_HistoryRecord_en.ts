<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>HistoryRecordWid</name>
    <message>
        <source>HistoryRecordWid</source>
        <translation>HistoryRecordWid</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>至</source>
        <translation>to</translation>
    </message>
    <message>
        <source>顺序</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>新纪录在上</source>
        <translation>Newest first</translation>
    </message>
    <message>
        <source>旧记录在上</source>
        <translation>Oldest first</translation>
    </message>
    <message>
        <source>查   询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>导   出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>全部加载</source>
        <translation>Load all</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryCapitalWid</name>
    <message>
        <source>历史资金</source>
        <translation>History capital</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryCreditDebtWid</name>
    <message>
        <source>历史两融负债</source>
        <translation>History margin debts</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryDeliveryWid</name>
    <message>
        <source>历史交割单</source>
        <translation>History delivery slips</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryFundDetailWid</name>
    <message>
        <source>历史资金流水</source>
        <translation>History fund flows</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryOrderWid</name>
    <message>
        <source>历史委托</source>
        <translation>History orders</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryPositionWid</name>
    <message>
        <source>历史持仓</source>
        <translation>History positions</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryProfitWid</name>
    <message>
        <source>历史盈亏</source>
        <translation>History profit and loss</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryRecordWid</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>点击查询获取</source>
        <translation>Click Query to load: </translation>
    </message>
    <message>
        <source>增值服务未连接，请稍后重试或重启客户端。</source>
        <translation>The value-added service is not connected. Please try again later or restart the client.</translation>
    </message>
    <message>
        <source>增值服务未登录，请稍后重试或重启客户端。</source>
        <translation>You are not logged in to the value-added service. Please try again later or restart the client.</translation>
    </message>
    <message>
        <source>上次查询正在进行中，请稍后重试。</source>
        <translation>The previous query is still running. Please try again later.</translation>
    </message>
    <message>
        <source>查询失败</source>
        <translation> Query failed</translation>
    </message>
    <message>
        <source>正在加载数据...</source>
        <translation>Loading data...</translation>
    </message>
    <message>
        <source>查询失败，本地错误号:</source>
        <translation>Query failed, local error number: </translation>
    </message>
    <message>
        <source>所有数据已加载完毕(共</source>
        <translation>All data loaded (</translation>
    </message>
    <message>
        <source>条)</source>
        <translation> records)</translation>
    </message>
    <message>
        <source>下滑滚动条以显示更多记录(已加载</source>
        <translation>Scroll down to show more records (loaded </translation>
    </message>
    <message>
        <source>错误号: </source>
        <translation>Error number: </translation>
    </message>
    <message>
        <source>错误信息: </source>
        <translation>Error message: </translation>
    </message>
    <message>
        <source>查询错误</source>
        <translation>: query error</translation>
    </message>
    <message>
        <source>数据导出</source>
        <translation>: data export</translation>
    </message>
    <message>
        <source>数据尚未全部加载完成，是否仍要导出？</source>
        <translation>Not all data has been loaded yet. Export anyway?</translation>
    </message>
    <message>
        <source>导 出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>取 消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>表格导出</source>
        <translation>Table exports</translation>
    </message>
    <message>
        <source>.csv</source>
        <translation>.csv</translation>
    </message>
    <message>
        <source>导出至本地文件...</source>
        <translation>Export to a local file...</translation>
    </message>
    <message>
        <source>CSV Files (*.csv)</source>
        <translation>CSV Files (*.csv)</translation>
    </message>
    <message>
        <source>导出失败</source>
        <translation>Export failed</translation>
    </message>
    <message>
        <source>导出失败，该文件已打开，请关闭文件后重试。</source>
        <translation>Export failed: the file is open. Please close it and try again.</translation>
    </message>
    <message>
        <source>导出失败，写入文件时出错。</source>
        <translation>Export failed: the file could not be written.</translation>
    </message>
    <message>
        <source>导出数据成功</source>
        <translation>Data exported</translation>
    </message>
    <message>
        <source>表格导出成功，文件已保存！</source>
        <translation>: table exported, the file has been saved.</translation>
    </message>
    <message>
        <source>该账户已不存在</source>
        <translation>The account no longer exists</translation>
    </message>
    <message>
        <source>该账户已不存在，无法查询或导出。</source>
        <translation>The account no longer exists: nothing can be queried or exported.</translation>
    </message>
    <message>
        <source>本页已在别处重新打开</source>
        <translation>This page was opened again elsewhere</translation>
    </message>
    <message>
        <source>本页已在别处重新打开，请在新打开的页面中查询或导出。</source>
        <translation>This page was opened again elsewhere: query and export in the new page.</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::HistoryTradeWid</name>
    <message>
        <source>历史成交</source>
        <translation>History trades</translation>
    </message>
</context>
<context>
    <name>VEK_SC_Space::TableHeader</name>
    <message>
        <source>交易日</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>总资产</source>
        <translation>Assets</translation>
    </message>
    <message>
        <source>客户资金</source>
        <translation>Funds</translation>
    </message>
    <message>
        <source>总市值</source>
        <translation>Mkt value</translation>
    </message>
    <message>
        <source>当日盈亏</source>
        <translation>Daily P/L</translation>
    </message>
    <message>
        <source>入金</source>
        <translation>Cash in</translation>
    </message>
    <message>
        <source>出金</source>
        <translation>Cash out</translation>
    </message>
    <message>
        <source>未到期债券</source>
        <translation>Bonds</translation>
    </message>
    <message>
        <source>基金市值</source>
        <translation>Fund val.</translation>
    </message>
    <message>
        <source>OTC资产</source>
        <translation>OTC</translation>
    </message>
    <message>
        <source>客户号</source>
        <translation>Client no.</translation>
    </message>
    <message>
        <source>净资产</source>
        <translation>Net assets</translation>
    </message>
    <message>
        <source>总负债</source>
        <translation>Debt</translation>
    </message>
    <message>
        <source>总利息</source>
        <translation>Interest</translation>
    </message>
    <message>
        <source>交易日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>开仓日期</source>
        <translation>Opened</translation>
    </message>
    <message>
        <source>证券代码</source>
        <translation>Code</translation>
    </message>
    <message>
        <source>证券名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>委托类型</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>负债状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>负债数量</source>
        <translation>Qty</translation>
    </message>
    <message>
        <source>未还数量</source>
        <translation>Qty due</translation>
    </message>
    <message>
        <source>负债金额</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>未还金额</source>
        <translation>Amt due</translation>
    </message>
    <message>
        <source>股东号</source>
        <translation>Holder ID</translation>
    </message>
    <message>
        <source>交易所</source>
        <translation>Exch.</translation>
    </message>
    <message>
        <source>买入</source>
        <translation>Buy</translation>
    </message>
    <message>
        <source>卖出</source>
        <translation>Sell</translation>
    </message>
    <message>
        <source>融资</source>
        <translation>Financing</translation>
    </message>
    <message>
        <source>融券</source>
        <translation>Lending</translation>
    </message>
    <message>
        <source>融资购回</source>
        <translation>Fin. buyback</translation>
    </message>
    <message>
        <source>融券购回</source>
        <translation>Lend buyback</translation>
    </message>
    <message>
        <source>融资买入</source>
        <translation>Mgn buy</translation>
    </message>
    <message>
        <source>卖券还款</source>
        <translation>Sell repay</translation>
    </message>
    <message>
        <source>买券还券</source>
        <translation>Cover</translation>
    </message>
    <message>
        <source>融券卖出</source>
        <translation>Short sell</translation>
    </message>
    <message>
        <source>券源划入</source>
        <translation>Lend in</translation>
    </message>
    <message>
        <source>券源划出</source>
        <translation>Lend out</translation>
    </message>
    <message>
        <source>余券划转</source>
        <translation>Surplus xfer</translation>
    </message>
    <message>
        <source>还券划转</source>
        <translation>Return xfer</translation>
    </message>
    <message>
        <source>融资强平</source>
        <translation>Liq. fin.</translation>
    </message>
    <message>
        <source>融券强平</source>
        <translation>Liq. short</translation>
    </message>
    <message>
        <source>直接还款</source>
        <translation>Repay</translation>
    </message>
    <message>
        <source>未了结</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>已了结</source>
        <translation>Settled</translation>
    </message>
    <message>
        <source>成交日期</source>
        <translation>Trade date</translation>
    </message>
    <message>
        <source>成交时间</source>
        <translation>Trade time</translation>
    </message>
    <message>
        <source>买卖类别</source>
        <translation>Side</translation>
    </message>
    <message>
        <source>成交价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>成交数量</source>
        <translation>Filled</translation>
    </message>
    <message>
        <source>成交金额</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>实付金额</source>
        <translation>Net amt</translation>
    </message>
    <message>
        <source>开仓成本价</source>
        <translation>Open cost</translation>
    </message>
    <message>
        <source>平仓盈亏</source>
        <translation>Close P/L</translation>
    </message>
    <message>
        <source>资金余额</source>
        <translation>Cash bal.</translation>
    </message>
    <message>
        <source>股份余额</source>
        <translation>Share bal.</translation>
    </message>
    <message>
        <source>实收佣金</source>
        <translation>Comm.</translation>
    </message>
    <message>
        <source>印花税</source>
        <translation>Stamp tax</translation>
    </message>
    <message>
        <source>过户费</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>交易规费</source>
        <translation>Levies</translation>
    </message>
    <message>
        <source>流水号</source>
        <translation>Serial no.</translation>
    </message>
    <message>
        <source>入账时间</source>
        <translation>Posted</translation>
    </message>
    <message>
        <source>业务科目</source>
        <translation>Business type</translation>
    </message>
    <message>
        <source>操作摘要</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>委托日期</source>
        <translation>Order date</translation>
    </message>
    <message>
        <source>委托时间</source>
        <translation>Order time</translation>
    </message>
    <message>
        <source>报单状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>报单类型</source>
        <translation>Order type</translation>
    </message>
    <message>
        <source>委托价格</source>
        <translation>Price</translation>
    </message>
    <message>
        <source>委托数量</source>
        <translation>Qty</translation>
    </message>
    <message>
        <source>状态信息</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>持仓数量</source>
        <translation>Qty held</translation>
    </message>
    <message>
        <source>持仓成本</source>
        <translation>Cost</translation>
    </message>
    <message>
        <source>持仓成本价</source>
        <translation>Cost price</translation>
    </message>
    <message>
        <source>累计盈亏</source>
        <translation>Total P/L</translation>
    </message>
    <message>
        <source>期初市值</source>
        <translation>Start val</translation>
    </message>
    <message>
        <source>期末市值</source>
        <translation>End val</translation>
    </message>
    <message>
        <source>期初持仓</source>
        <translation>Start qty</translation>
    </message>
    <message>
        <source>期末持仓</source>
        <translation>End qty</translation>
    </message>
    <message>
        <source>开仓金额</source>
        <translation>Open amt</translation>
    </message>
    <message>
        <source>平仓金额</source>
        <translation>Close amt</translation>
    </message>
    <message>
        <source>盈亏</source>
        <translation>P/L</translation>
    </message>
    <message>
        <source>结束日期</source>
        <translation>End date</translation>
    </message>
    <message>
        <source>成交编号</source>
        <translation>Trade no.</translation>
    </message>
</context>
</TS>
