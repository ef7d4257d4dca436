-- The first rows of a new database, the same for both engines: the account
-- Admin without a password, the fourteen field titles and the rights tree.

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
