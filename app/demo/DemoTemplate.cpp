#include "demo/DemoTemplate.h"

#include <QFile>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

// The empty books of a trade and inventory company, in the Access dialect of the embedded engine.
// Rules kept by every table so that the same template also builds on SQL Server:
// - text columns are COLLATE NOCASE (Jet compares text without regard to case);
// - a column of a foreign key is NOT NULL (the SQL Server copy puts it into the primary key);
// - text defaults hold no quotation marks, expression defaults are ones both engines know
//   (CURRENT_TIMESTAMP); no binary or GUID columns; names are plain pinyin or English words.
// Parents come before children, so the rows satisfy every foreign key while they are written.
const char* const kStatements[] = {
    // --- users and rights ---
    R"(CREATE TABLE Departments (BMBH TEXT(10) COLLATE NOCASE NOT NULL, BMMC TEXT(30) COLLATE NOCASE NOT NULL,
       SJBM TEXT(10) COLLATE NOCASE DEFAULT '', FZR TEXT(20) COLLATE NOCASE, BZ TEXT(100) COLLATE NOCASE,
       CONSTRAINT PK_Departments PRIMARY KEY (BMBH), CONSTRAINT UQ_Departments_BMMC UNIQUE (BMMC)))",
    R"(INSERT INTO Departments (BMBH, BMMC, SJBM, FZR, BZ) VALUES ('01', '总经理办公室', '', '王建国', NULL))",
    R"(INSERT INTO Departments (BMBH, BMMC, SJBM, FZR, BZ) VALUES ('02', '采购部', '', '李明', '负责进货与供应商往来'))",
    R"(INSERT INTO Departments (BMBH, BMMC, SJBM, FZR, BZ) VALUES ('03', '销售部', '', '张丽', NULL))",
    R"(INSERT INTO Departments (BMBH, BMMC, SJBM, FZR, BZ) VALUES ('04', '仓储部', '', '赵强', NULL))",
    R"(INSERT INTO Departments (BMBH, BMMC, SJBM, FZR, BZ) VALUES ('05', '财务部', '', '陈静', '收付款与对账'))",

    R"(CREATE TABLE Users (Id TEXT(10) COLLATE NOCASE NOT NULL, Uname TEXT(30) COLLATE NOCASE NOT NULL,
       PWD TEXT(200) COLLATE NOCASE DEFAULT '', RealName TEXT(20) COLLATE NOCASE,
       IsAdmin BIT NOT NULL DEFAULT 0, Disabled BIT NOT NULL DEFAULT 0, LastLogin DATETIME,
       Remark MEMO COLLATE NOCASE,
       CONSTRAINT PK_Users PRIMARY KEY (Id), CONSTRAINT UQ_Users_Uname UNIQUE (Uname)))",
    R"(INSERT INTO Users (Id, Uname, PWD, RealName, IsAdmin, Disabled, LastLogin, Remark)
       VALUES ('0', '管理员', '', '系统管理员', 1, 0, NULL, '帐套的默认用户，新建帐套时改为录入的用户名和密码'))",

    R"(CREATE TABLE BaseLimits (ID TEXT(10) COLLATE NOCASE NOT NULL, lName TEXT(50) COLLATE NOCASE NOT NULL,
       lValue TEXT(50) COLLATE NOCASE NOT NULL, lUseFlag LONG DEFAULT 1, lVerTag LONG DEFAULT 1,
       lConfigTag TEXT(50) COLLATE NOCASE DEFAULT '', lPX LONG DEFAULT 0,
       CONSTRAINT PK_BaseLimits PRIMARY KEY (ID), CONSTRAINT UQ_BaseLimits_lValue UNIQUE (lValue)))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('01', '基础资料', 'FuncJiChu', 1, 1, '', 1))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0101', '商品资料', 'frmSPZL', 1, 1, '', 101))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0102', '往来单位', 'frmWLDW', 1, 1, '', 102))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0103', '仓库与职员', 'frmCKZY', 1, 1, '', 103))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('02', '采购管理', 'FuncCaiGou', 1, 1, '', 2))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0201', '采购入库单', 'frmCGRK', 1, 1, '', 201))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('03', '销售管理', 'FuncXiaoShou', 1, 1, '', 3))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0301', '销售出库单', 'frmXSCK', 1, 1, '', 301))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('04', '库存管理', 'FuncKuCun', 1, 1, '', 4))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0401', '库存查询', 'frmKCCX', 1, 1, '', 401))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('05', '财务管理', 'FuncCaiWu', 1, 1, '', 5))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0501', '收款与付款', 'frmSFK', 1, 1, '', 501))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('09', '系统维护', 'FuncXiTong', 1, 1, '', 9))",
    R"(INSERT INTO BaseLimits (ID, lName, lValue, lUseFlag, lVerTag, lConfigTag, lPX) VALUES ('0901', '用户与权限', 'frmYHQX', 1, 1, 'ADMIN', 901))",

    R"(CREATE TABLE User_Permissions (UserID TEXT(10) COLLATE NOCASE NOT NULL,
       OperationID TEXT(50) COLLATE NOCASE NOT NULL,
       CONSTRAINT PK_User_Permissions PRIMARY KEY (UserID, OperationID),
       CONSTRAINT FK_User_Permissions_Users FOREIGN KEY (UserID) REFERENCES Users (Id)))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncJiChu'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmSPZL'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmWLDW'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmCKZY'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncCaiGou'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmCGRK'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncXiaoShou'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmXSCK'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncKuCun'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmKCCX'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncCaiWu'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmSFK'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'FuncXiTong'))",
    R"(INSERT INTO User_Permissions (UserID, OperationID) VALUES ('0', 'frmYHQX'))",

    R"(CREATE TABLE Staff (ZYBH TEXT(10) COLLATE NOCASE NOT NULL, ZYXM TEXT(20) COLLATE NOCASE NOT NULL,
       BMBH TEXT(10) COLLATE NOCASE NOT NULL, XB TEXT(2) COLLATE NOCASE DEFAULT '男',
       SFZH TEXT(18) COLLATE NOCASE, LXDH TEXT(20) COLLATE NOCASE, RZRQ DATETIME, ZZ BIT NOT NULL DEFAULT 1,
       JBGZ CURRENCY DEFAULT 0, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_Staff PRIMARY KEY (ZYBH),
       CONSTRAINT FK_Staff_Departments FOREIGN KEY (BMBH) REFERENCES Departments (BMBH)))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('001', '王建国', '01', '男', NULL, '13800000001', '2015-03-01', 1, 12000, NULL))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('002', '李明', '02', '男', NULL, '13800000002', '2018-07-16', 1, 6500, NULL))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('003', '张丽', '03', '女', NULL, '13800000003', '2019-02-20', 1, 6800, '销售主管'))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('004', '赵强', '04', '男', NULL, '13800000004', '2020-09-01', 1, 5200, NULL))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('005', '陈静', '05', '女', NULL, '13800000005', '2016-11-08', 1, 7000, NULL))",
    R"(INSERT INTO Staff (ZYBH, ZYXM, BMBH, XB, SFZH, LXDH, RZRQ, ZZ, JBGZ, BZ) VALUES ('006', '刘洋', '03', '男', NULL, '13800000006', '2021-04-12', 0, 4800, '已离职'))",

    // --- system parameters, periods, bill numbering ---
    R"(CREATE TABLE SysParams (CSBH TEXT(20) COLLATE NOCASE NOT NULL, CSMC TEXT(50) COLLATE NOCASE NOT NULL,
       CSZ TEXT(255) COLLATE NOCASE DEFAULT '', XGRQ DATETIME DEFAULT CURRENT_TIMESTAMP, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_SysParams PRIMARY KEY (CSBH)))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('DWMC', '单位名称', '', '2024-01-01', '打印在单据抬头'))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('DWDZ', '单位地址', '', '2024-01-01', NULL))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('DWDH', '联系电话', '', '2024-01-01', NULL))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('QYRQ', '启用日期', '2024-01-01', '2024-01-01', '帐套开始记帐的日期'))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('DJXSWS', '单价小数位数', '2', '2024-01-01', NULL))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('SLXSWS', '数量小数位数', '2', '2024-01-01', NULL))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('JJFS', '存货计价方式', '移动加权平均', '2024-01-01', '可选：移动加权平均、先进先出'))",
    R"(INSERT INTO SysParams (CSBH, CSMC, CSZ, XGRQ, BZ) VALUES ('FKCCK', '允许负库存出库', '否', '2024-01-01', NULL))",

    R"(CREATE TABLE Periods (QJ TEXT(7) COLLATE NOCASE NOT NULL, KSRQ DATETIME NOT NULL, JSRQ DATETIME NOT NULL,
       JZ BIT NOT NULL DEFAULT 0, JZR TEXT(10) COLLATE NOCASE,
       CONSTRAINT PK_Periods PRIMARY KEY (QJ)))",
    R"(INSERT INTO Periods (QJ, KSRQ, JSRQ, JZ, JZR) VALUES ('2024-01', '2024-01-01', '2024-01-31', 0, NULL))",
    R"(INSERT INTO Periods (QJ, KSRQ, JSRQ, JZ, JZR) VALUES ('2024-02', '2024-02-01', '2024-02-29', 0, NULL))",
    R"(INSERT INTO Periods (QJ, KSRQ, JSRQ, JZ, JZR) VALUES ('2024-03', '2024-03-01', '2024-03-31', 0, NULL))",

    R"(CREATE TABLE BillNumbering (DJLX TEXT(10) COLLATE NOCASE NOT NULL, DJMC TEXT(20) COLLATE NOCASE NOT NULL,
       DJQZ TEXT(6) COLLATE NOCASE NOT NULL, RQGS TEXT(10) COLLATE NOCASE DEFAULT 'yyyyMMdd',
       LSH LONG NOT NULL DEFAULT 0, LSHCD SHORT DEFAULT 4, MRCZ BIT DEFAULT 1,
       CONSTRAINT PK_BillNumbering PRIMARY KEY (DJLX), CONSTRAINT UQ_BillNumbering_DJMC UNIQUE (DJMC)))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('CGRK', '采购入库单', 'CR', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('CGTH', '采购退货单', 'CT', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('XSCK', '销售出库单', 'XC', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('XSTH', '销售退货单', 'XT', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('DBD', '库存调拨单', 'DB', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('PDD', '库存盘点单', 'PD', 'yyyyMM', 0, 3, 0))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('FKD', '付款单', 'FK', 'yyyyMMdd', 0, 4, 1))",
    R"(INSERT INTO BillNumbering (DJLX, DJMC, DJQZ, RQGS, LSH, LSHCD, MRCZ) VALUES ('SKD', '收款单', 'SK', 'yyyyMMdd', 0, 4, 1))",

    // --- goods ---
    R"(CREATE TABLE Units (DWBH TEXT(6) COLLATE NOCASE NOT NULL, DWMC TEXT(10) COLLATE NOCASE NOT NULL,
       CONSTRAINT PK_Units PRIMARY KEY (DWBH), CONSTRAINT UQ_Units_DWMC UNIQUE (DWMC)))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('01', '个'))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('02', '件'))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('03', '箱'))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('04', '千克'))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('05', '米'))",
    R"(INSERT INTO Units (DWBH, DWMC) VALUES ('06', '台'))",

    R"(CREATE TABLE GoodsClasses (LBBH TEXT(10) COLLATE NOCASE NOT NULL, LBMC TEXT(30) COLLATE NOCASE NOT NULL,
       SJLB TEXT(10) COLLATE NOCASE DEFAULT '', JB BYTE DEFAULT 1, MJ BIT NOT NULL DEFAULT 1,
       CONSTRAINT PK_GoodsClasses PRIMARY KEY (LBBH)))",
    R"(INSERT INTO GoodsClasses (LBBH, LBMC, SJLB, JB, MJ) VALUES ('01', '食品饮料', '', 1, 0))",
    R"(INSERT INTO GoodsClasses (LBBH, LBMC, SJLB, JB, MJ) VALUES ('0101', '饮料', '01', 2, 1))",
    R"(INSERT INTO GoodsClasses (LBBH, LBMC, SJLB, JB, MJ) VALUES ('0102', '休闲食品', '01', 2, 1))",
    R"(INSERT INTO GoodsClasses (LBBH, LBMC, SJLB, JB, MJ) VALUES ('02', '日用百货', '', 1, 1))",
    R"(INSERT INTO GoodsClasses (LBBH, LBMC, SJLB, JB, MJ) VALUES ('03', '家用电器', '', 1, 1))",

    R"(CREATE TABLE Goods (SPBH TEXT(20) COLLATE NOCASE NOT NULL, SPMC TEXT(60) COLLATE NOCASE NOT NULL,
       GGXH TEXT(40) COLLATE NOCASE, LBBH TEXT(10) COLLATE NOCASE NOT NULL, DWBH TEXT(6) COLLATE NOCASE NOT NULL,
       TXM TEXT(20) COLLATE NOCASE NOT NULL, JJ CURRENCY DEFAULT 0, SJ CURRENCY DEFAULT 0, ZDKC DOUBLE DEFAULT 0,
       ZGKC DOUBLE, SL SINGLE DEFAULT 0.13, TY BIT NOT NULL DEFAULT 0, JDRQ DATETIME DEFAULT CURRENT_TIMESTAMP,
       SM MEMO COLLATE NOCASE,
       CONSTRAINT PK_Goods PRIMARY KEY (SPBH), CONSTRAINT UQ_Goods_TXM UNIQUE (TXM),
       CONSTRAINT FK_Goods_GoodsClasses FOREIGN KEY (LBBH) REFERENCES GoodsClasses (LBBH),
       CONSTRAINT FK_Goods_Units FOREIGN KEY (DWBH) REFERENCES Units (DWBH)))",
    R"(INSERT INTO Goods (SPBH, SPMC, GGXH, LBBH, DWBH, TXM, JJ, SJ, ZDKC, ZGKC, SL, TY, JDRQ, SM)
       VALUES ('SP0001', '矿泉水', '550ml×24瓶', '0101', '03', '6900000000011', 18.5, 28, 10, 500, 0.13, 0, '2024-01-01', NULL))",
    R"(INSERT INTO Goods (SPBH, SPMC, GGXH, LBBH, DWBH, TXM, JJ, SJ, ZDKC, ZGKC, SL, TY, JDRQ, SM)
       VALUES ('SP0002', '绿茶饮料', '500ml', '0101', '01', '6900000000028', 2.1, 3.5, 100, 2000, 0.13, 0, '2024-01-01', '夏季畅销'))",
    R"(INSERT INTO Goods (SPBH, SPMC, GGXH, LBBH, DWBH, TXM, JJ, SJ, ZDKC, ZGKC, SL, TY, JDRQ, SM)
       VALUES ('SP0003', '原味薯片', '70g', '0102', '01', '6900000000035', 3.2, 5.9, 50, NULL, 0.13, 0, '2024-01-01', NULL))",
    R"(INSERT INTO Goods (SPBH, SPMC, GGXH, LBBH, DWBH, TXM, JJ, SJ, ZDKC, ZGKC, SL, TY, JDRQ, SM)
       VALUES ('SP0004', '洗衣液', '3kg', '02', '02', '6900000000042', 26.8, 45, 20, 300, 0.13, 0, '2024-01-01', NULL))",
    R"(INSERT INTO Goods (SPBH, SPMC, GGXH, LBBH, DWBH, TXM, JJ, SJ, ZDKC, ZGKC, SL, TY, JDRQ, SM)
       VALUES ('SP0005', '电热水壶', '1.7L 不锈钢', '03', '06', '6900000000059', 68, 129, 5, 50, 0.13, 1, '2024-01-01', '停售，清库存'))",

    R"(CREATE TABLE GoodsPrices (SPBH TEXT(20) COLLATE NOCASE NOT NULL, JGDJ SHORT NOT NULL DEFAULT 1,
       JGMC TEXT(20) COLLATE NOCASE DEFAULT '零售价', JG CURRENCY NOT NULL DEFAULT 0,
       CONSTRAINT PK_GoodsPrices PRIMARY KEY (SPBH, JGDJ),
       CONSTRAINT FK_GoodsPrices_Goods FOREIGN KEY (SPBH) REFERENCES Goods (SPBH)))",
    R"(INSERT INTO GoodsPrices (SPBH, JGDJ, JGMC, JG) VALUES ('SP0001', 1, '零售价', 28))",
    R"(INSERT INTO GoodsPrices (SPBH, JGDJ, JGMC, JG) VALUES ('SP0001', 2, '批发价', 24.5))",
    R"(INSERT INTO GoodsPrices (SPBH, JGDJ, JGMC, JG) VALUES ('SP0002', 1, '零售价', 3.5))",
    R"(INSERT INTO GoodsPrices (SPBH, JGDJ, JGMC, JG) VALUES ('SP0002', 2, '批发价', 2.8))",

    // --- warehouses, partners, money ---
    R"(CREATE TABLE Warehouses (CKBH TEXT(6) COLLATE NOCASE NOT NULL, CKMC TEXT(30) COLLATE NOCASE NOT NULL,
       CKDZ TEXT(100) COLLATE NOCASE, FZR TEXT(20) COLLATE NOCASE, MR BIT NOT NULL DEFAULT 0,
       CONSTRAINT PK_Warehouses PRIMARY KEY (CKBH), CONSTRAINT UQ_Warehouses_CKMC UNIQUE (CKMC)))",
    R"(INSERT INTO Warehouses (CKBH, CKMC, CKDZ, FZR, MR) VALUES ('01', '总仓', '城东物流园3号库', '赵强', 1))",
    R"(INSERT INTO Warehouses (CKBH, CKMC, CKDZ, FZR, MR) VALUES ('02', '门市仓', '人民路88号', NULL, 0))",

    R"(CREATE TABLE Regions (DQBH TEXT(6) COLLATE NOCASE NOT NULL, DQMC TEXT(20) COLLATE NOCASE NOT NULL,
       CONSTRAINT PK_Regions PRIMARY KEY (DQBH), CONSTRAINT UQ_Regions_DQMC UNIQUE (DQMC)))",
    R"(INSERT INTO Regions (DQBH, DQMC) VALUES ('00', '未分地区'))",
    R"(INSERT INTO Regions (DQBH, DQMC) VALUES ('01', '华东'))",
    R"(INSERT INTO Regions (DQBH, DQMC) VALUES ('02', '华北'))",
    R"(INSERT INTO Regions (DQBH, DQMC) VALUES ('03', '华南'))",

    R"(CREATE TABLE Customers (KHBH TEXT(20) COLLATE NOCASE NOT NULL, KHMC TEXT(80) COLLATE NOCASE NOT NULL,
       DQBH TEXT(6) COLLATE NOCASE NOT NULL DEFAULT '00', LXR TEXT(20) COLLATE NOCASE, LXDH TEXT(30) COLLATE NOCASE,
       DZ TEXT(120) COLLATE NOCASE, KHYH TEXT(60) COLLATE NOCASE, YHZH TEXT(40) COLLATE NOCASE,
       SH TEXT(30) COLLATE NOCASE, XYED CURRENCY DEFAULT 0, YSYE CURRENCY DEFAULT 0, ZKL SINGLE DEFAULT 1,
       TY BIT NOT NULL DEFAULT 0, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_Customers PRIMARY KEY (KHBH), CONSTRAINT UQ_Customers_KHMC UNIQUE (KHMC),
       CONSTRAINT FK_Customers_Regions FOREIGN KEY (DQBH) REFERENCES Regions (DQBH)))",
    R"(INSERT INTO Customers (KHBH, KHMC, DQBH, LXR, LXDH, DZ, KHYH, YHZH, SH, XYED, YSYE, ZKL, TY, BZ)
       VALUES ('K0001', '零售客户', '00', NULL, NULL, NULL, NULL, NULL, NULL, 0, 0, 1, 0, '门市零售统一使用'))",
    R"(INSERT INTO Customers (KHBH, KHMC, DQBH, LXR, LXDH, DZ, KHYH, YHZH, SH, XYED, YSYE, ZKL, TY, BZ)
       VALUES ('K0002', '华联超市有限公司', '01', '周经理', '021-55550001', '上海市浦东新区', '工商银行', '1001000000000001', '91310000000000001X', 50000, 0, 0.95, 0, NULL))",

    R"(CREATE TABLE Suppliers (GYSBH TEXT(20) COLLATE NOCASE NOT NULL, GYSMC TEXT(80) COLLATE NOCASE NOT NULL,
       DQBH TEXT(6) COLLATE NOCASE NOT NULL DEFAULT '00', LXR TEXT(20) COLLATE NOCASE, LXDH TEXT(30) COLLATE NOCASE,
       DZ TEXT(120) COLLATE NOCASE, KHYH TEXT(60) COLLATE NOCASE, YHZH TEXT(40) COLLATE NOCASE,
       YFYE CURRENCY DEFAULT 0, TY BIT NOT NULL DEFAULT 0, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_Suppliers PRIMARY KEY (GYSBH), CONSTRAINT UQ_Suppliers_GYSMC UNIQUE (GYSMC),
       CONSTRAINT FK_Suppliers_Regions FOREIGN KEY (DQBH) REFERENCES Regions (DQBH)))",
    R"(INSERT INTO Suppliers (GYSBH, GYSMC, DQBH, LXR, LXDH, DZ, KHYH, YHZH, YFYE, TY, BZ)
       VALUES ('G0001', '清泉饮品有限公司', '01', '孙先生', '0571-88880001', '杭州市西湖区', '农业银行', '2002000000000001', 0, 0, NULL))",
    R"(INSERT INTO Suppliers (GYSBH, GYSMC, DQBH, LXR, LXDH, DZ, KHYH, YHZH, YFYE, TY, BZ)
       VALUES ('G0002', '北方日化批发部', '02', '钱女士', '010-66660002', '北京市丰台区', NULL, NULL, 0, 0, '月结30天'))",

    R"(CREATE TABLE PayModes (FKFS TEXT(6) COLLATE NOCASE NOT NULL, FKMC TEXT(20) COLLATE NOCASE NOT NULL,
       CONSTRAINT PK_PayModes PRIMARY KEY (FKFS), CONSTRAINT UQ_PayModes_FKMC UNIQUE (FKMC)))",
    R"(INSERT INTO PayModes (FKFS, FKMC) VALUES ('01', '现金'))",
    R"(INSERT INTO PayModes (FKFS, FKMC) VALUES ('02', '银行转账'))",
    R"(INSERT INTO PayModes (FKFS, FKMC) VALUES ('03', '支票'))",
    R"(INSERT INTO PayModes (FKFS, FKMC) VALUES ('04', '微信'))",
    R"(INSERT INTO PayModes (FKFS, FKMC) VALUES ('05', '支付宝'))",

    R"(CREATE TABLE BankAccounts (ZHBH TEXT(10) COLLATE NOCASE NOT NULL, ZHMC TEXT(40) COLLATE NOCASE NOT NULL,
       KHH TEXT(60) COLLATE NOCASE, ZH TEXT(40) COLLATE NOCASE, QCYE CURRENCY DEFAULT 0, QYRQ DATETIME,
       CONSTRAINT PK_BankAccounts PRIMARY KEY (ZHBH)))",
    R"(INSERT INTO BankAccounts (ZHBH, ZHMC, KHH, ZH, QCYE, QYRQ) VALUES ('01', '现金', NULL, NULL, 0, '2024-01-01'))",
    R"(INSERT INTO BankAccounts (ZHBH, ZHMC, KHH, ZH, QCYE, QYRQ) VALUES ('02', '基本存款户', '中国银行', '3003000000000001', 0, '2024-01-01'))",

    // --- bills (empty in a new set) ---
    R"(CREATE TABLE PurchaseBills (DJBH TEXT(20) COLLATE NOCASE NOT NULL, DJRQ DATETIME NOT NULL,
       GYSBH TEXT(20) COLLATE NOCASE NOT NULL, CKBH TEXT(6) COLLATE NOCASE NOT NULL, JSR TEXT(20) COLLATE NOCASE,
       ZJE CURRENCY DEFAULT 0, YFJE CURRENCY DEFAULT 0, SH BIT NOT NULL DEFAULT 0, ZDR TEXT(20) COLLATE NOCASE,
       ZDSJ DATETIME DEFAULT CURRENT_TIMESTAMP, DJLX TEXT(10) COLLATE NOCASE DEFAULT 'CGRK', BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_PurchaseBills PRIMARY KEY (DJBH),
       CONSTRAINT FK_PurchaseBills_Suppliers FOREIGN KEY (GYSBH) REFERENCES Suppliers (GYSBH),
       CONSTRAINT FK_PurchaseBills_Warehouses FOREIGN KEY (CKBH) REFERENCES Warehouses (CKBH)))",
    R"(CREATE TABLE PurchaseBillLines (DJBH TEXT(20) COLLATE NOCASE NOT NULL, HH SHORT NOT NULL,
       SPBH TEXT(20) COLLATE NOCASE NOT NULL, SL DOUBLE DEFAULT 0, DJ CURRENCY DEFAULT 0, JE CURRENCY DEFAULT 0,
       SLV SINGLE DEFAULT 0.13, BZ TEXT(100) COLLATE NOCASE,
       CONSTRAINT PK_PurchaseBillLines PRIMARY KEY (DJBH, HH),
       CONSTRAINT FK_PurchaseBillLines_PurchaseBills FOREIGN KEY (DJBH) REFERENCES PurchaseBills (DJBH),
       CONSTRAINT FK_PurchaseBillLines_Goods FOREIGN KEY (SPBH) REFERENCES Goods (SPBH)))",
    R"(CREATE TABLE SalesBills (DJBH TEXT(20) COLLATE NOCASE NOT NULL, DJRQ DATETIME NOT NULL,
       KHBH TEXT(20) COLLATE NOCASE NOT NULL, CKBH TEXT(6) COLLATE NOCASE NOT NULL, YWY TEXT(20) COLLATE NOCASE,
       ZJE CURRENCY DEFAULT 0, SSJE CURRENCY DEFAULT 0, ZKL SINGLE DEFAULT 1, SH BIT NOT NULL DEFAULT 0,
       ZDR TEXT(20) COLLATE NOCASE, ZDSJ DATETIME DEFAULT CURRENT_TIMESTAMP,
       DJLX TEXT(10) COLLATE NOCASE DEFAULT 'XSCK', BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_SalesBills PRIMARY KEY (DJBH),
       CONSTRAINT FK_SalesBills_Customers FOREIGN KEY (KHBH) REFERENCES Customers (KHBH),
       CONSTRAINT FK_SalesBills_Warehouses FOREIGN KEY (CKBH) REFERENCES Warehouses (CKBH)))",
    R"(CREATE TABLE SalesBillLines (DJBH TEXT(20) COLLATE NOCASE NOT NULL, HH SHORT NOT NULL,
       SPBH TEXT(20) COLLATE NOCASE NOT NULL, SL DOUBLE DEFAULT 0, DJ CURRENCY DEFAULT 0, JE CURRENCY DEFAULT 0,
       CBJ CURRENCY DEFAULT 0, BZ TEXT(100) COLLATE NOCASE,
       CONSTRAINT PK_SalesBillLines PRIMARY KEY (DJBH, HH),
       CONSTRAINT FK_SalesBillLines_SalesBills FOREIGN KEY (DJBH) REFERENCES SalesBills (DJBH),
       CONSTRAINT FK_SalesBillLines_Goods FOREIGN KEY (SPBH) REFERENCES Goods (SPBH)))",
    R"(CREATE TABLE StockBills (DJBH TEXT(20) COLLATE NOCASE NOT NULL, DJRQ DATETIME NOT NULL,
       DJLX TEXT(10) COLLATE NOCASE NOT NULL DEFAULT 'DBD', DCCK TEXT(6) COLLATE NOCASE NOT NULL,
       DRCK TEXT(6) COLLATE NOCASE, JSR TEXT(20) COLLATE NOCASE, SH BIT NOT NULL DEFAULT 0,
       ZDR TEXT(20) COLLATE NOCASE, ZDSJ DATETIME DEFAULT CURRENT_TIMESTAMP, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_StockBills PRIMARY KEY (DJBH),
       CONSTRAINT FK_StockBills_Warehouses FOREIGN KEY (DCCK) REFERENCES Warehouses (CKBH)))",
    R"(CREATE TABLE StockBillLines (DJBH TEXT(20) COLLATE NOCASE NOT NULL, HH SHORT NOT NULL,
       SPBH TEXT(20) COLLATE NOCASE NOT NULL, ZMSL DOUBLE DEFAULT 0, SJSL DOUBLE DEFAULT 0, DJ CURRENCY DEFAULT 0,
       BZ TEXT(100) COLLATE NOCASE,
       CONSTRAINT PK_StockBillLines PRIMARY KEY (DJBH, HH),
       CONSTRAINT FK_StockBillLines_StockBills FOREIGN KEY (DJBH) REFERENCES StockBills (DJBH),
       CONSTRAINT FK_StockBillLines_Goods FOREIGN KEY (SPBH) REFERENCES Goods (SPBH)))",
    R"(CREATE TABLE Inventory (CKBH TEXT(6) COLLATE NOCASE NOT NULL, SPBH TEXT(20) COLLATE NOCASE NOT NULL,
       KCSL DOUBLE NOT NULL DEFAULT 0, KCJE CURRENCY NOT NULL DEFAULT 0, ZHRQ DATETIME,
       CONSTRAINT PK_Inventory PRIMARY KEY (CKBH, SPBH),
       CONSTRAINT FK_Inventory_Warehouses FOREIGN KEY (CKBH) REFERENCES Warehouses (CKBH),
       CONSTRAINT FK_Inventory_Goods FOREIGN KEY (SPBH) REFERENCES Goods (SPBH)))",
    R"(CREATE TABLE Payments (FKDH TEXT(20) COLLATE NOCASE NOT NULL, FKRQ DATETIME NOT NULL,
       GYSBH TEXT(20) COLLATE NOCASE NOT NULL, ZHBH TEXT(10) COLLATE NOCASE NOT NULL,
       FKFS TEXT(6) COLLATE NOCASE NOT NULL DEFAULT '02', JE CURRENCY NOT NULL DEFAULT 0,
       JSR TEXT(20) COLLATE NOCASE, SH BIT NOT NULL DEFAULT 0, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_Payments PRIMARY KEY (FKDH),
       CONSTRAINT FK_Payments_Suppliers FOREIGN KEY (GYSBH) REFERENCES Suppliers (GYSBH),
       CONSTRAINT FK_Payments_BankAccounts FOREIGN KEY (ZHBH) REFERENCES BankAccounts (ZHBH),
       CONSTRAINT FK_Payments_PayModes FOREIGN KEY (FKFS) REFERENCES PayModes (FKFS)))",
    R"(CREATE TABLE Receipts (SKDH TEXT(20) COLLATE NOCASE NOT NULL, SKRQ DATETIME NOT NULL,
       KHBH TEXT(20) COLLATE NOCASE NOT NULL, ZHBH TEXT(10) COLLATE NOCASE NOT NULL,
       FKFS TEXT(6) COLLATE NOCASE NOT NULL DEFAULT '01', JE CURRENCY NOT NULL DEFAULT 0,
       JSR TEXT(20) COLLATE NOCASE, SH BIT NOT NULL DEFAULT 0, BZ MEMO COLLATE NOCASE,
       CONSTRAINT PK_Receipts PRIMARY KEY (SKDH),
       CONSTRAINT FK_Receipts_Customers FOREIGN KEY (KHBH) REFERENCES Customers (KHBH),
       CONSTRAINT FK_Receipts_BankAccounts FOREIGN KEY (ZHBH) REFERENCES BankAccounts (ZHBH),
       CONSTRAINT FK_Receipts_PayModes FOREIGN KEY (FKFS) REFERENCES PayModes (FKFS)))",
    R"(CREATE TABLE OperationLog (RZID LONG NOT NULL, CZY TEXT(20) COLLATE NOCASE NOT NULL,
       CZSJ DATETIME DEFAULT CURRENT_TIMESTAMP, CZMK TEXT(30) COLLATE NOCASE, CZNR MEMO COLLATE NOCASE,
       CONSTRAINT PK_OperationLog PRIMARY KEY (RZID)))",
};

}  // namespace

bool WriteDemoTemplate(const QString& file, QString* error) {
    try {
        ado::CreateJetDatabase(file);
    } catch (const std::exception& e) {
        if (error)
            *error = errorText(e);
        return false;
    }
    try {
        ado::Connection conn;
        conn.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
                                 QStringLiteral(";Jet OLEDB:Database Password=;"));
        conn.Open();
        conn.BeginTrans();
        for (const char* statement : kStatements)
            conn.Execute(QString::fromUtf8(statement));
        conn.CommitTrans();
        conn.Close();
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = errorText(e);
        QFile::remove(file);  // never leave half a template behind
        return false;
    }
}

}  // namespace ztgl
