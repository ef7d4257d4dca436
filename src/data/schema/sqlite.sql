-- The local database file (database mode 1). Date columns hold ISO texts:
-- 'YYYY-MM-DD', and CreateDate 'YYYY-MM-DD HH:MM:SS' in local time.

create table Customer (
    sGUID      text primary key,
    TypeID     integer,
    Kesp200001 text, Kesp200002 text, Kesp200003 text, Kesp200004 text, Kesp200005 text,
    Kesp200006 text, Kesp200007 text, Kesp200008 text, Kesp200009 text, Kesp200010 text,
    Kesp200011 text, Kesp200012 text, Kesp200013 text, Kesp200014 text,
    OperName   text,
    CreateDate text default (datetime('now', 'localtime'))
);
create index CustomerType on Customer (TypeID);
create index CustomerCreated on Customer (CreateDate);

create table UserType (
    ID       integer primary key autoincrement,
    TypeName text
);

create table Alam (
    ID       integer primary key autoincrement,
    iHour    integer,
    iMinute  integer,
    iMonWeek integer,
    ReDay    integer,
    AlamDate text,
    ReTitle  text,
    Remark   text,
    OperName text,
    sGUID    text,
    bLook    integer not null default 0
);

create table DIY (
    DIYID   text primary key,
    DIYName text
);

create table DiyRemark (
    DiyText text,
    Remark  text
);
create index DiyRemarkText on DiyRemark (DiyText);

create table Oper (
    OperName text primary key,
    OperPass text,
    Remark   text
);

create table authority (
    OperName text,
    Rules    text
);
create index AuthorityOper on authority (OperName);

create table Rules (
    SelfIndex   integer primary key,
    ParentIndex integer,
    TypeName    text
);

insert into Oper (OperName, OperPass, Remark) values ('Admin', '', '系统管理员');

insert into DIY (DIYID, DIYName) values ('200001', '会员号码');
insert into DIY (DIYID, DIYName) values ('200002', '会员姓名');
insert into DIY (DIYID, DIYName) values ('200003', '性别');
insert into DIY (DIYID, DIYName) values ('200004', '手机');
insert into DIY (DIYID, DIYName) values ('200005', 'QQ');
insert into DIY (DIYID, DIYName) values ('200006', '电话');
insert into DIY (DIYID, DIYName) values ('200007', '地址');
insert into DIY (DIYID, DIYName) values ('200008', '生日');
insert into DIY (DIYID, DIYName) values ('200009', '客户来源');
insert into DIY (DIYID, DIYName) values ('200010', '客户级别');
insert into DIY (DIYID, DIYName) values ('200011', '所属行业');
insert into DIY (DIYID, DIYName) values ('200012', '备注');
insert into DIY (DIYID, DIYName) values ('200013', '');
insert into DIY (DIYID, DIYName) values ('200014', '');

insert into Rules (SelfIndex, ParentIndex, TypeName) values (1, 0, '客户类别');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (2, 1, '新建类别');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (3, 1, '修改类别');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (4, 1, '删除类别');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (5, 0, '客户信息');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (6, 5, '新建客户');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (7, 5, '修改客户');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (8, 5, '删除客户');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (9, 5, '自定义客户信息');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (10, 5, '导出Excel');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (11, 5, '允许查看其它登录账号数据');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (12, 0, '系统管理');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (13, 12, '登录账号管理');
insert into Rules (SelfIndex, ParentIndex, TypeName) values (14, 12, '数据维护');
